// The readers of settings files that come from elsewhere, fed arbitrary bytes:
// our store's restore, and the cache-folder command's reading of Google
// Earth's settings files. No crash, no sanitizer report, and:
//  - the restored texts hold no NUL and are valid UTF-8;
//  - whatever is restored, saving it and restoring again gives it back, and
//    the save leaves nothing but the settings file behind;
//  - the cache-folder command hands the shell at most one target, and only
//    the file:// URL of an existing absolute folder, exactly when it succeeds.
#include "ConfFileCacheFolderCommand.h"
#include "IniSettingsStore.h"
#include "SettingsStore.h"

#include "RecordingShellOpener.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

void Check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

// One scratch folder for the whole run, under TMPDIR (scripts/fuzz.sh puts
// it in memory where it can: every save syncs its file).
const QString& Scratch() {
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        auto made = std::make_unique<QTemporaryDir>();
        if (!made->isValid() ||
            !QDir().mkpath(made->filePath(QStringLiteral("home/.googleearth/Cache"))) ||
            !QDir().mkpath(made->filePath(QStringLiteral("config"))) ||
            !QDir().mkpath(made->filePath(QStringLiteral("restored"))) ||
            !QDir().mkpath(made->filePath(QStringLiteral("saved")))) {
            std::abort();
        }
        return made;
    }();
    static const QString path = dir->path();
    return path;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        std::abort();
    }
}

// QSettings keeps what it read of a file and trusts it while the file's size
// and time stamp (to the millisecond) stay the same; the program reads each
// file once, but the fuzzer rewrites them many times a millisecond. So each
// input gets names of its own.
QString FreshName() {
    static std::uint64_t count = 0;
    return QStringLiteral("Tembrel-%1.conf").arg(++count);
}

void CheckRestore(const QByteArray& bytes) {
    const QString restoredFile = Scratch() + QStringLiteral("/restored/") + FreshName();
    WriteFile(restoredFile, bytes);
    const tembrel::EditTexts texts = tembrel::IniSettingsStore(restoredFile).Restore();
    QFile::remove(restoredFile);
    for (const std::string& text : texts) {
        Check(text.find('\0') == std::string::npos);
        Check(QString::fromStdString(text).toStdString() == text);
    }

    const QString name = FreshName();
    const QDir savedFolder(Scratch() + QStringLiteral("/saved"));
    tembrel::IniSettingsStore saved(savedFolder.filePath(name));
    Check(saved.Save(texts));
    Check(saved.Restore() == texts);
    Check(savedFolder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                QDir::NoDotAndDotDot) == QStringList{name});
    QFile::remove(savedFolder.filePath(name));
}

void CheckCacheFolder(const QByteArray& bytes, bool older) {
    QDir config(Scratch() + QStringLiteral("/config/") + FreshName());
    if (!config.mkpath(QStringLiteral("Google"))) {
        std::abort();
    }
    // The older file is read only when the current one has no "CachePath".
    WriteFile(config.filePath(older ? QStringLiteral("Google/GoogleEarthPlus.conf")
                                    : QStringLiteral("Google/GoogleEarthPro.conf")),
              bytes);

    tembrel::test::RecordingShellOpener shell;
    tembrel::ConfFileCacheFolderCommand command(shell, config.path(),
                                                Scratch() + QStringLiteral("/home"));
    const bool ran = command.Run();
    config.removeRecursively();
    Check(shell.opened.size() == (ran ? 1U : 0U));
    if (ran) {
        const QUrl target(QString::fromStdString(shell.opened.front()), QUrl::StrictMode);
        Check(target.isValid() && target.isLocalFile());
        const QString folder = target.toLocalFile();
        Check(QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the Google Earth file the bytes go to; the rest
    // are the file's contents.
    const bool older = (data[0] & 1) != 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data) + 1,
                           static_cast<qsizetype>(size - 1));
    CheckRestore(bytes);
    CheckCacheFolder(bytes, older);
    return 0;
}
