#pragma once

#include "CacheFolderCommand.h"
#include "ShellOpener.h"

#include <QString>

namespace tembrel {

// The cache-folder command where Google Earth keeps its settings in a
// QSettings INI file of the user's configuration folder: "CachePath" of the
// [General] section of Google/GoogleEarthPro.conf (current versions), else of
// Google/GoogleEarthPlus.conf (older ones). An empty or missing path means
// Google Earth's default cache folder, ~/.googleearth/Cache. Google Earth's
// files are only read, never created or changed.
//
// Nobody else would report a failure here, so Run() returns false, having
// handed nothing to the shell, when a file is not a regular file of bounded
// size (see CheckedSettingsCopy), the value is of another type with data (as
// is one that QSettings would decode through QDataStream), the path is not
// absolute, the folder does not exist or the shell refuses.
class ConfFileCacheFolderCommand final : public CacheFolderCommand {
public:
    ConfFileCacheFolderCommand(ShellOpener& shell, QString configDirectory, QString homeDirectory);

    bool Run() override;

private:
    ShellOpener& shell_;
    QString configDirectory_;
    QString homeDirectory_;
};

} // namespace tembrel
