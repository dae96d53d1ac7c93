#pragma once

#include "SettingsStore.h"

#include <QString>

namespace tembrel {

// The eight texts as REG_SZ values of one key under HKEY_CURRENT_USER
// (Software\Tembrel for the user's store), through QSettings' registry
// format. Qt reads REG_SZ and REG_EXPAND_SZ as strings (unexpanded),
// REG_DWORD and REG_QWORD as numbers and REG_MULTI_SZ as a list, so the type
// rule of StoredText.h applies; REG_BINARY and REG_NONE come back as strings,
// as Qt itself stores a text holding a NUL that way. A value whose text
// starts with '@' is read in QSettings' escaped form ("@@x" is "@x"), as
// QSettings writes it; one that Qt would decode through QDataStream is
// refused unread (RegistryValueGuard.h). Windows only.
class RegistrySettingsStore final : public SettingsStore {
public:
    explicit RegistrySettingsStore(QString subKey);

    // Opening the key creates it, as at a first start.
    EditTexts Restore() override;
    bool Save(const EditTexts& texts) override;

private:
    QString subKey_;
};

} // namespace tembrel
