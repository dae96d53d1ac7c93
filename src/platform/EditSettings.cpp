#include "EditSettings.h"

#include "StoredText.h"

#include <exception>

namespace tembrel {

namespace {

// Keeps the key open for one restore or save and closes it however that ends.
class OpenKey {
public:
    explicit OpenKey(SettingsStore& store) : store_(store) {
        // Not examined: a store that cannot be opened answers every query as
        // missing and refuses every write.
        store_.Open();
    }
    ~OpenKey() {
        try {
            store_.Close();
        } catch (...) {
            // The settings report nothing.
        }
    }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

private:
    SettingsStore& store_;
};

} // namespace

EditTexts RestoreEditTexts(SettingsStore& store) {
    EditTexts texts;
    try {
        OpenKey key(store);
        for (std::size_t i = 0; i < EditValueNames.size(); ++i) {
            texts[i] = ReadStoredText(store, EditValueNames[i]).value_or(std::string());
        }
    } catch (const std::exception&) {
        // Ends the restore without a message; the texts read so far stay.
    }
    return texts;
}

void SaveEditTexts(SettingsStore& store, const EditTexts& texts) {
    try {
        OpenKey key(store);
        for (std::size_t i = 0; i < EditValueNames.size(); ++i) {
            if (!store.SetString(EditValueNames[i], texts[i])) {
                break;
            }
        }
    } catch (const std::exception&) {
        // Ends the save without a message.
    }
}

} // namespace tembrel
