#include "PortSetting.h"
#include "UserDirectories.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <exception>
#include <string>
#include <utility>

namespace tembrel {

namespace {

// The port as decimal digits and a newline; a longer file is not ours.
constexpr std::size_t MaxPortBytes = 16;
// The secret is 32 characters; a file much longer is not ours either.
constexpr std::size_t MaxSecretBytes = 64;

class FilePortSetting final : public PortSetting {
public:
    explicit FilePortSetting(QString folder) : folder_(std::move(folder)) {}

    std::uint16_t Read() override {
        try {
            const std::string text = ReadLine(QStringLiteral("ViewServerPort"), MaxPortBytes);
            unsigned port = 0;
            const char* end = text.data() + text.size();
            const auto [stop, error] = std::from_chars(text.data(), end, port);
            if (text.empty() || error != std::errc() || stop != end || port == 0 || port > 65535) {
                return 0;
            }
            return static_cast<std::uint16_t>(port);
        } catch (const std::exception&) {
            return 0;
        }
    }

    bool Save(std::uint16_t port) override {
        try {
            return Write(QStringLiteral("ViewServerPort"), std::to_string(port) + '\n', 0644);
        } catch (const std::exception&) {
            return false;
        }
    }

    std::string ReadSecret() override {
        try {
            return ReadLine(QStringLiteral("ViewServerSecret"), MaxSecretBytes);
        } catch (const std::exception&) {
            return {};
        }
    }

    bool SaveSecret(const std::string& secret) override {
        try {
            return Write(QStringLiteral("ViewServerSecret"), secret + '\n', 0600);
        } catch (const std::exception&) {
            return false;
        }
    }

private:
    // The file's text without its line end; empty when it is missing, a
    // link, longer than `limit` or unreadable.
    std::string ReadLine(const QString& name, std::size_t limit) const {
        const QByteArray path = QFile::encodeName(folder_ + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0) {
            return {};
        }
        std::string bytes(limit + 1, '\0');
        const ssize_t count = ::read(fd, bytes.data(), bytes.size());
        ::close(fd);
        if (count <= 0 || static_cast<std::size_t>(count) > limit) {
            return {};
        }
        bytes.resize(static_cast<std::size_t>(count));
        while (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
            bytes.pop_back();
        }
        return bytes;
    }

    bool Write(const QString& name, const std::string& text, mode_t mode) const {
        if (!QDir().mkpath(folder_)) {
            return false;
        }
        const QString target = folder_ + QLatin1Char('/') + name;
        const QString temporary = target + QLatin1Char('.') +
                                  QString::number(QRandomGenerator::global()->generate64(), 36);
        const QByteArray temporaryName = QFile::encodeName(temporary);
        // A fresh file renamed over the old one: a link there is
        // replaced, never written through.
        const int fd = ::open(temporaryName.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd < 0) {
            return false;
        }
        const bool written =
            ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
            ::fsync(fd) == 0;
        const bool closed = ::close(fd) == 0;
        if (!written || !closed ||
            ::rename(temporaryName.constData(), QFile::encodeName(target).constData()) != 0) {
            ::unlink(temporaryName.constData());
            return false;
        }
        return true;
    }

    QString folder_;
};

} // namespace

std::unique_ptr<PortSetting> CreateUserPortSetting() {
    return std::make_unique<FilePortSetting>(UserConfigDirectory() + QStringLiteral("/Tembrel"));
}

} // namespace tembrel
