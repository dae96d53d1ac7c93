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
constexpr std::size_t MaxFileBytes = 16;

class FilePortSetting final : public PortSetting {
public:
    explicit FilePortSetting(QString folder) : folder_(std::move(folder)) {}

    std::uint16_t Read() override {
        try {
            const QByteArray path = QFile::encodeName(folder_ + QStringLiteral("/ViewServerPort"));
            const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
            if (fd < 0) {
                return 0;
            }
            char bytes[MaxFileBytes + 1];
            const ssize_t count = ::read(fd, bytes, sizeof bytes);
            ::close(fd);
            if (count <= 0 || static_cast<std::size_t>(count) > MaxFileBytes) {
                return 0;
            }
            std::size_t end = static_cast<std::size_t>(count);
            while (end > 0 && (bytes[end - 1] == '\n' || bytes[end - 1] == '\r')) {
                --end;
            }
            unsigned port = 0;
            const auto [stop, error] = std::from_chars(bytes, bytes + end, port);
            if (error != std::errc() || stop != bytes + end || port == 0 || port > 65535) {
                return 0;
            }
            return static_cast<std::uint16_t>(port);
        } catch (const std::exception&) {
            return 0;
        }
    }

    bool Save(std::uint16_t port) override {
        try {
            if (!QDir().mkpath(folder_)) {
                return false;
            }
            const QString target = folder_ + QStringLiteral("/ViewServerPort");
            const QString temporary = target + QLatin1Char('.') +
                                      QString::number(QRandomGenerator::global()->generate64(), 36);
            const QByteArray temporaryName = QFile::encodeName(temporary);
            // A fresh file renamed over the old one: a link there is
            // replaced, never written through.
            const int fd = ::open(temporaryName.constData(),
                                  O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
            if (fd < 0) {
                return false;
            }
            const std::string text = std::to_string(port) + '\n';
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
        } catch (const std::exception&) {
            return false;
        }
    }

private:
    QString folder_;
};

} // namespace

std::unique_ptr<PortSetting> CreateUserPortSetting() {
    return std::make_unique<FilePortSetting>(UserConfigDirectory() + QStringLiteral("/Tembrel"));
}

} // namespace tembrel
