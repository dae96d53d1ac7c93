#pragma once

#include "TimerModel.h"
#include "VirtualClock.h"
#include "VoyageInputs.h"
#include "VoyageView.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace tembrel {

// The voyage's view and inputs without a screen, for the tests and
// tembrel-sim. It keeps every control's state in memory, runs its timer on a
// VirtualClock (Timer(), the one the controller is given), answers
// message boxes from a script and records what a user would see in an event
// log: "gauge N", "label TEXT", "label shown", "label hidden",
// "box TYPE TEXT", "errorbox TEXT" and, for the box of a failed tick that
// stays open until a view is written again, "errorbox closed"; each stamped
// with the virtual time.
class HeadlessWindow final : public VoyageView, public VoyageInputs {
public:
    struct Event {
        VirtualClock::Milliseconds time;
        std::string text;
        bool operator==(const Event&) const = default;
    };

    // A scripted answer to the next confirmation box; whileOpen runs while the
    // box is shown (to let virtual time pass there, for instance). Without a
    // script a confirmation is answered Yes; other boxes close with OK.
    struct Answer {
        ModalResult result = ModalResult::Yes;
        std::function<void()> whileOpen;
    };

    // Colour names that SetFieldState leaves on a control.
    static constexpr const char* WindowColour = "window"; // before the first lock
    static constexpr const char* WhiteColour = "white";
    static constexpr const char* LockedColour = "infobk";

    struct FieldState {
        bool readOnly = false;
        bool enabled = true;
        std::string colour = WindowColour;
        bool operator==(const FieldState&) const = default;
    };

    explicit HeadlessWindow(VirtualClock& clock);

    // The handler every timer tick runs, shown in the default error box when
    // it throws (the timer then stays as it was).
    void SetTickHandler(std::function<void()> handler) { tickHandler_ = std::move(handler); }

    // The voyage timer, on the virtual clock.
    TimerModel& Timer() { return timer_; }
    const TimerModel& Timer() const { return timer_; }

    // VoyageView.
    void SetProgress(std::int64_t progress) override;
    void AddProgress(std::int64_t step) override;
    void SetStartCaption(const std::string& caption) override { startCaption_ = caption; }
    void SetStartVisible(bool visible) override { startVisible_ = visible; }
    void SetAreaLabelCaption(const std::string& caption) override;
    void SetAreaLabelVisible(bool visible) override;
    void SetAreasPanelEnabled(bool enabled) override { areasPanelEnabled_ = enabled; }
    void FocusRefreshEdit() override { ++refreshFocusCount_; }
    void SetFieldState(LockKind kind, Control control, bool enable) override;
    ModalResult ShowMessage(const std::string& text, BoxType type, unsigned buttons) override;
    void ShowDefaultErrorBox(const std::string& text) override;
    void ShowTickFault(const std::string& text) override;
    void TickFaultCleared() override;
    void VoyageEnded() override { ++endNotices_; }

    // VoyageInputs.
    Page ActivePage() const override { return page_; }
    std::string EditText(InputEdit edit) const override;
    std::string GridCell(int column, int row) const override;
    int MemoLineCount() const override { return static_cast<int>(memo_.size()); }
    std::string MemoLine(int index) const override;

    // What a user does and sees.
    void SetActivePage(Page page) { page_ = page; }
    void SetEditText(InputEdit edit, std::string text);
    void SetGridCell(int column, int row, std::string text);
    // The memo's text, split by SplitLines (no word wrap).
    void SetMemoText(const std::string& text) { memo_ = SplitLines(text); }
    // Lines end at CR LF, CR or LF, as in the window's memo, and a final line
    // break starts no further line: "" has no line, "\n" one empty line.
    static std::vector<std::string> SplitLines(const std::string& text);
    void SetMemoLines(std::vector<std::string> lines) { memo_ = std::move(lines); }
    // The user answers the open tick fault box with OK.
    void CloseTickFault() { tickFaultOpen_ = false; }
    void QueueAnswer(Answer answer) { answers_.push_back(std::move(answer)); }
    void QueueAnswer(ModalResult result) { answers_.push_back(Answer{result, {}}); }
    // Records an event of the caller's own (a view read back from disk, say).
    void Record(std::string text);

    std::int64_t Progress() const { return progress_; }
    const std::string& StartCaption() const { return startCaption_; }
    bool StartVisible() const { return startVisible_; }
    const std::string& AreaLabelCaption() const { return labelCaption_; }
    bool AreaLabelVisible() const { return labelVisible_; }
    bool AreasPanelEnabled() const { return areasPanelEnabled_; }
    bool TickFaultOpen() const { return tickFaultOpen_; }
    int RefreshFocusCount() const { return refreshFocusCount_; }
    int EndNotices() const { return endNotices_; }
    const FieldState& Field(Control control) const;
    const std::vector<Event>& Events() const { return events_; }
    void ClearEvents() { events_.clear(); }

private:
    void OnTick();
    void SetProgressValue(std::int64_t progress);

    VirtualClock& clock_;
    TimerModel timer_;
    std::function<void()> tickHandler_;
    std::int64_t progress_ = 0;
    std::string startCaption_;
    bool startVisible_ = true;
    std::string labelCaption_;
    bool labelVisible_ = false;
    bool areasPanelEnabled_ = true;
    Page page_ = Page::TS_Area;
    std::array<std::string, 8> edits_;
    std::array<std::array<std::string, GridColumnCount>, GridRowCount> grid_;
    std::vector<std::string> memo_;
    int refreshFocusCount_ = 0;
    int endNotices_ = 0;
    std::array<FieldState, 9> fields_;
    bool tickFaultOpen_ = false;
    std::deque<Answer> answers_;
    std::vector<Event> events_;
};

} // namespace tembrel
