#pragma once

#include "VoyageView.h"

namespace tembrel {

// A view that shows nothing and answers every box with OK: what the estimate
// runs the engine on, and the base of doubles that watch only a part of it.
class QuietView : public VoyageView {
public:
    void SetProgress(std::int64_t) override {}
    void AddProgress(std::int64_t) override {}
    void SetStartCaption(const std::string&) override {}
    void SetStartVisible(bool) override {}
    void SetAreaLabelCaption(const std::string&) override {}
    void SetAreaLabelVisible(bool) override {}
    void SetAreasPanelEnabled(bool) override {}
    void FocusRefreshEdit() override {}
    void SetFieldState(LockKind, Control, bool) override {}
    ModalResult ShowMessage(const std::string&, BoxType, unsigned) override {
        return ModalResult::Ok;
    }
    void ShowDefaultErrorBox(const std::string&) override {}
};

} // namespace tembrel
