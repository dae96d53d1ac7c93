#pragma once

#include "ShellOpener.h"

#include <string>
#include <vector>

namespace tembrel::test {

// Records what would have been handed to the shell.
class RecordingShellOpener final : public ShellOpener {
public:
    std::vector<std::string> opened;
    bool accepts = true;

    bool Open(const std::string& target) override {
        opened.push_back(target);
        return accepts;
    }
};

} // namespace tembrel::test
