#pragma once

#include "SettingsStore.h"

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace tembrel::test {

// The settings in memory; a store that cannot be written refuses every save.
class FakeSettingsStore final : public SettingsStore {
public:
    std::map<std::string, std::string, std::less<>> values; // a missing name restores as ""
    bool writable = true;
    int saves = 0; // Save calls that succeeded

    EditTexts Restore() override {
        EditTexts texts;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const auto found = values.find(EditValueNames[i]);
            texts[i] = found == values.end() ? std::string() : found->second;
        }
        return texts;
    }
    bool Save(const EditTexts& texts) override {
        if (!writable) {
            return false;
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            values[EditValueNames[i]] = texts[i];
        }
        ++saves;
        return true;
    }

    std::string Text(std::string_view name) const {
        const auto found = values.find(name);
        return found == values.end() ? std::string("<missing>") : found->second;
    }
};

} // namespace tembrel::test
