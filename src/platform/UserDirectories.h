#pragma once

#include <QString>

namespace tembrel {

// The user's home folder: $HOME, else the password database's entry.
QString UserHomeDirectory();

// The user's configuration folder: $XDG_CONFIG_HOME when it holds an absolute
// path, else ~/.config.
QString UserConfigDirectory();

} // namespace tembrel
