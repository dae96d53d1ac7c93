#pragma once

#include "CacheFolderCommand.h"

namespace tembrel::test {

// A cache folder command with a chosen outcome, counting its runs.
class FakeCacheFolderCommand final : public CacheFolderCommand {
public:
    bool succeeds = true;
    int runs = 0;
    bool Run() override {
        ++runs;
        return succeeds;
    }
};

} // namespace tembrel::test
