#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>
#include <string>

namespace tembrel::test {

// Sets (or, with nullopt, unsets) one environment variable for its lifetime.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const std::optional<std::string>& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> previous_;
};

// A user of its own for one test: HOME and XDG_CONFIG_HOME point into a fresh
// temporary folder, so no test reads or writes the real ones.
class TemporaryUser {
public:
    TemporaryUser();

    QString Home() const { return home_; }
    QString Config() const { return config_; }
    QString SettingsFile() const { return config_ + QStringLiteral("/Tembrel/Tembrel.conf"); }

private:
    QTemporaryDir root_;
    QString home_;
    QString config_;
    ScopedEnvironmentVariable homeVariable_;
    ScopedEnvironmentVariable configVariable_;
};

// Whole-file helpers.
void WriteFile(const QString& path, const QByteArray& bytes);
QByteArray ReadFile(const QString& path);

} // namespace tembrel::test
