#pragma once

#include "IniGeneralSection.h"
#include "SettingsStore.h"

#include <QString>

#include <optional>

namespace tembrel {

// A settings store in the [General] section of an INI file in the form
// QSettings reads and writes. A plain text is a String; anything QSettings
// would read as another type (a list, an @Variant(...), an @ByteArray(...)) is
// Other. Writes are kept until Close, which replaces the file whole through a
// temporary file in the same folder, so a failed save leaves the previous file
// as it was.
class IniFileSettingsStore final : public SettingsStore {
public:
    enum class Mode {
        CreateWhenMissing, // Open creates the folder and an empty file
        ReadOnly,          // Open fails on a missing file; writes fail
    };

    IniFileSettingsStore(QString filePath, Mode mode);

    bool Open() override;
    bool QueryValue(std::string_view name, ValueType& type, std::size_t& size) override;
    bool ReadValue(std::string_view name, std::size_t size, ValueType& type,
                   std::string& data) override;
    bool SetString(std::string_view name, std::string_view text) override;
    bool Close() override;

private:
    QString filePath_;
    Mode mode_;
    std::optional<IniGeneralSection> section_; // engaged while open
    bool modified_ = false;
};

} // namespace tembrel
