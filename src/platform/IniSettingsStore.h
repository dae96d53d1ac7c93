#pragma once

#include "SettingsStore.h"

#include <QString>

namespace tembrel {

// The edit texts in the [General] section of an INI file, read and written by
// QSettings. A save replaces the file whole, or leaves it as it was:
//  - QSettings writes the eight texts to a new file beside it, which is read
//    back from the disk and compared (a full disk can go unnoticed by Qt's
//    own commit) and synced before it is renamed over the old one;
//  - the rename replaces a link rather than writing through it, so nothing
//    outside the settings folder is ever written;
//  - the old file's permissions are kept;
//  - temporary files that a killed save left behind are removed first.
// Keys other than the eight are not carried forward: nothing else is ours,
// and an overgrown file shrinks back to eight keys at the next save.
class IniSettingsStore final : public SettingsStore {
public:
    explicit IniSettingsStore(QString filePath);

    // At a first start the folder and an empty file are created.
    EditTexts Restore() override;
    bool Save(const EditTexts& texts) override;

private:
    QString filePath_;
};

} // namespace tembrel
