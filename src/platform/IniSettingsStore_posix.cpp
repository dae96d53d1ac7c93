#include "IniSettingsStore.h"

#include "StoredText.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

namespace tembrel {

namespace {

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

// Unlinks a temporary file by its name (never what a link there points to)
// when the scope ends, unless the file was renamed into place.
class TemporaryName {
public:
    explicit TemporaryName(QString path) : path_(std::move(path)) {}
    ~TemporaryName() {
        if (!path_.isEmpty()) {
            ::unlink(Native(path_).constData());
        }
    }
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;

    void Renamed(QString path) { path_ = std::move(path); }
    void Release() { path_.clear(); }

private:
    QString path_;
};

QString RandomName(const QString& prefix) {
    return prefix + QString::number(QRandomGenerator::global()->generate64(), 36);
}

// Every entry beside the file whose name starts with "<name>." is a temporary
// file of a save that did not finish (ours, or the one QSettings makes while
// it writes ours). Links among them are removed, not followed.
void RemoveStaleTemporaries(const QString& folder, const QString& namePrefix) {
    QDirIterator entries(folder,
                         QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    while (entries.hasNext()) {
        const QByteArray path = Native(entries.next());
        struct stat status {};
        if (entries.fileName().startsWith(namePrefix) && ::lstat(path.constData(), &status) == 0 &&
            (S_ISREG(status.st_mode) || S_ISLNK(status.st_mode))) {
            ::unlink(path.constData());
        }
    }
}

// A new empty file under a name of its own, created exclusively and never
// through a link; `mode` receives the permissions a new file gets here.
std::optional<QString> CreateTemporary(const QString& prefix, mode_t& mode) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString path = RandomName(prefix);
        const int fd = ::open(Native(path).constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return std::nullopt;
        }
        struct stat status {};
        const bool known = ::fstat(fd, &status) == 0;
        ::close(fd);
        if (!known) {
            ::unlink(Native(path).constData());
            return std::nullopt;
        }
        mode = status.st_mode & 07777;
        return path;
    }
    return std::nullopt;
}

bool SyncAndChmod(const QString& path, mode_t mode) {
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

void SyncFolder(const QString& folder) {
    // Not examined: the rename is done, and some file systems cannot sync a
    // folder; the file system then writes the entry in its own time.
    const int fd = ::open(Native(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool ReplaceFile(const QString& filePath, const EditTexts& texts) {
    const QFileInfo file(filePath);
    const QString folder = file.absolutePath();
    if (!QDir().mkpath(folder)) {
        return false;
    }
    const QString namePrefix = file.fileName() + QLatin1Char('.');
    const QString prefix = folder + QLatin1Char('/') + namePrefix;
    RemoveStaleTemporaries(folder, namePrefix);

    mode_t mode = 0;
    const std::optional<QString> written = CreateTemporary(prefix, mode);
    if (!written) {
        return false;
    }
    TemporaryName temporary(*written);
    {
        QSettings settings(*written, QSettings::IniFormat);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            settings.setValue(QString::fromLatin1(EditValueNames[i]),
                              QString::fromStdString(texts[i]));
        }
        settings.sync();
        if (settings.status() != QSettings::NoError) {
            return false;
        }
    }
    // QSettings answers for a file it has just written from memory, so the
    // file is read back under a name it has never seen: only then does the
    // check see what reached the disk.
    const QString checked = RandomName(prefix);
    if (::rename(Native(*written).constData(), Native(checked).constData()) != 0) {
        return false;
    }
    temporary.Renamed(checked);
    {
        const QSettings settings(checked, QSettings::IniFormat);
        if (settings.status() != QSettings::NoError || !HoldsEditTexts(settings, texts)) {
            return false;
        }
    }
    struct stat previous {};
    if (::lstat(Native(filePath).constData(), &previous) == 0 && S_ISREG(previous.st_mode)) {
        mode = previous.st_mode & 07777;
    }
    if (!SyncAndChmod(checked, mode) ||
        ::rename(Native(checked).constData(), Native(filePath).constData()) != 0) {
        return false;
    }
    temporary.Release();
    SyncFolder(folder);
    return true;
}

// A first start leaves the folder and an empty file behind, as the registry
// key is created at a first start on Windows.
void CreateWhenMissing(const QString& filePath) {
    struct stat status {};
    if (::lstat(Native(filePath).constData(), &status) == 0 || errno != ENOENT ||
        !QDir().mkpath(QFileInfo(filePath).absolutePath())) {
        return;
    }
    const int fd = ::open(Native(filePath).constData(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
        ::close(fd);
    }
}

} // namespace

IniSettingsStore::IniSettingsStore(QString filePath) : filePath_(std::move(filePath)) {}

EditTexts IniSettingsStore::Restore() {
    try {
        CreateWhenMissing(filePath_);
        const std::unique_ptr<QTemporaryFile> copy = CheckedSettingsCopy(filePath_);
        if (!copy) {
            return {};
        }
        const QSettings settings(copy->fileName(), QSettings::IniFormat);
        return RestoreEditTexts(settings);
    } catch (const std::exception&) {
        return {};
    }
}

bool IniSettingsStore::Save(const EditTexts& texts) {
    try {
        return ReplaceFile(filePath_, texts);
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace tembrel
