#pragma once

#include "SettingsStore.h"

#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tembrel::test {

// An in-memory store with the registry's behaviour, a log of the calls made
// and failures to order.
class FakeSettingsStore final : public SettingsStore {
public:
    struct Value {
        ValueType type = ValueType::String;
        std::string data; // as stored: a string with its NUL

        friend bool operator==(const Value&, const Value&) = default;
    };

    static Value Text(const std::string& text) { return {ValueType::String, text + '\0'}; }

    std::map<std::string, Value> values;
    bool openFails = false;
    std::optional<std::string> readFailsFor;  // ReadValue of this name fails
    std::optional<std::string> writeFailsFor; // SetString of this name fails
    std::optional<std::string> queryThrowsFor;
    std::vector<std::string> log; // "Open", "Query E_LatD", "Read E_LatD", "Set E_LatD", "Close"

    bool Open() override {
        log.push_back("Open");
        open_ = !openFails;
        return open_;
    }
    bool QueryValue(std::string_view name, ValueType& type, std::size_t& size) override {
        log.push_back("Query " + std::string(name));
        if (queryThrowsFor == name) {
            throw std::runtime_error("query failed");
        }
        const auto found = values.find(std::string(name));
        if (!open_ || found == values.end()) {
            return false;
        }
        type = found->second.type;
        size = found->second.data.size();
        return true;
    }
    bool ReadValue(std::string_view name, std::size_t size, ValueType& type,
                   std::string& data) override {
        log.push_back("Read " + std::string(name));
        const auto found = values.find(std::string(name));
        if (!open_ || found == values.end() || readFailsFor == name ||
            found->second.data.size() > size) {
            return false;
        }
        type = found->second.type;
        data = found->second.data;
        return true;
    }
    bool SetString(std::string_view name, std::string_view text) override {
        log.push_back("Set " + std::string(name));
        if (!open_ || writeFailsFor == name) {
            return false;
        }
        values[std::string(name)] = Text(std::string(text));
        return true;
    }
    bool Close() override {
        log.push_back("Close");
        open_ = false;
        return true;
    }

private:
    bool open_ = false;
};

} // namespace tembrel::test
