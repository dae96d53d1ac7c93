#pragma once

#include "ShellOpener.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace tembrel::test {

// Records what would have been handed to the shell.
class RecordingShellOpener final : public ShellOpener {
public:
    std::vector<std::string> opened;
    bool accepts = true;
    bool throws = false; // the shell itself fails

    bool Open(const std::string& target) override {
        opened.push_back(target);
        if (throws) {
            throw std::runtime_error("no handler");
        }
        return accepts;
    }
};

} // namespace tembrel::test
