#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdlib>

namespace tembrel::test {

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char* name,
                                                     const std::optional<std::string>& value)
    : name_(name) {
    if (const char* current = std::getenv(name)) {
        previous_ = current;
    }
    if (value) {
        // Qt's forms, which Windows has too.
        qputenv(name, QByteArray::fromStdString(*value));
    } else {
        qunsetenv(name);
    }
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable() {
    if (previous_) {
        qputenv(name_.c_str(), QByteArray::fromStdString(*previous_));
    } else {
        qunsetenv(name_.c_str());
    }
}

namespace {

QString MadePath(const QTemporaryDir& root, const char* name) {
    const QString path = root.filePath(QString::fromLatin1(name));
    QDir().mkpath(path);
    return path;
}

} // namespace

TemporaryUser::TemporaryUser()
    : home_(MadePath(root_, "home")), config_(MadePath(root_, "config")),
      homeVariable_("HOME", home_.toStdString()),
      configVariable_("XDG_CONFIG_HOME", config_.toStdString()) {}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << path.toStdString();
        return QByteArray();
    }
    return file.readAll();
}

namespace {

// Until a test sets its own, HOME and XDG_CONFIG_HOME point at an empty
// temporary folder for the whole run: nothing here touches the real ones.
class TemporaryHomeEnvironment final : public ::testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(root_.isValid());
        home_.emplace("HOME", root_.path().toStdString());
        config_.emplace("XDG_CONFIG_HOME",
                        (root_.path() + QStringLiteral("/.config")).toStdString());
    }
    void TearDown() override {
        config_.reset();
        home_.reset();
    }

private:
    QTemporaryDir root_;
    std::optional<ScopedEnvironmentVariable> home_;
    std::optional<ScopedEnvironmentVariable> config_;
};

[[maybe_unused]] ::testing::Environment* const temporaryHome =
    ::testing::AddGlobalTestEnvironment(new TemporaryHomeEnvironment);

} // namespace

} // namespace tembrel::test
