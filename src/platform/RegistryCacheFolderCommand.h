#pragma once

#include "CacheFolderCommand.h"
#include "ShellOpener.h"

#include <QString>

namespace tembrel {

// The cache-folder command where Google Earth records its cache folder in the
// registry: "CachePath" under <software>\Google\Google Earth Plus of
// HKEY_CURRENT_USER, else (where current versions keep it) under
// <software>\Google\Google Earth Pro; `software` is "Software" for the user's
// command. Google Earth's keys are only read, never created. Run() returns
// false, having handed nothing to the shell, when the value is of another type
// with data (as is one refused by RegistryValueGuard.h), the path is not that
// of an existing folder, or the shell refuses. Windows only.
class RegistryCacheFolderCommand final : public CacheFolderCommand {
public:
    RegistryCacheFolderCommand(ShellOpener& shell, QString software);

    bool Run() override;

private:
    ShellOpener& shell_;
    QString software_;
};

} // namespace tembrel
