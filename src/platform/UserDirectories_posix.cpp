#include "UserDirectories.h"

#include <QDir>
#include <QFile>

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

namespace tembrel {

QString UserHomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return QFile::decodeName(home);
    }
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr && entry->pw_dir[0] != '\0') {
        return QFile::decodeName(entry->pw_dir);
    }
    return QDir::homePath();
}

QString UserConfigDirectory() {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return QFile::decodeName(config);
    }
    return UserHomeDirectory() + QStringLiteral("/.config");
}

} // namespace tembrel
