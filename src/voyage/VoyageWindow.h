#pragma once

#include <cstdint>
#include <string>

namespace tembrel {

enum class Page { TS_Area, TS_MAreas, TS_Points };

enum class InputEdit { E_LatD, E_LonD, E_VE, E_VS, E_VEast, E_VSouth, E_VA, E_VR };

// The controls SetFieldState can lock: the eight edits and the points memo.
enum class Control { E_LatD, E_LonD, E_VE, E_VS, E_VEast, E_VSouth, E_VA, E_VR, M_Points };

enum class BoxType { Error, Information, Confirmation };

// Buttons of a message box, combinable; shown in the order Yes, No, OK.
enum Buttons : unsigned { ButtonYes = 1, ButtonNo = 2, ButtonOk = 4 };

// What closed a message box. Cancel is its own close box: neither Yes nor No.
enum class ModalResult { Yes, No, Ok, Cancel };

// Abstract base class for the window the voyage engine drives. It holds the
// operations the controller uses and nothing else: the timer, the gauge, the
// Start button, the area label, the area panel, the active page, the input
// texts, input locking, focus and message boxes. The Qt main window and the
// headless window of the tests and of tembrel-sim implement it.
class VoyageWindow {
public:
    virtual ~VoyageWindow() = default;

    // T_Timer. Implementations follow TimerModel's semantics.
    virtual bool TimerEnabled() const = 0;
    virtual void SetTimerEnabled(bool enabled) = 0;
    virtual std::int32_t TimerInterval() const = 0;
    virtual void SetTimerInterval(std::int32_t milliseconds) = 0;

    // GA_Progress, clamped to [0, GaugeMaximum] on every change (GaugeModel).
    virtual std::int64_t Progress() const = 0;
    virtual void SetProgress(std::int64_t progress) = 0;
    virtual void AddProgress(std::int64_t step) = 0;

    // B_Start.
    virtual void SetStartCaption(const std::string& caption) = 0;
    virtual void SetStartVisible(bool visible) = 0;

    // LB_MAreas.
    virtual void SetAreaLabelCaption(const std::string& caption) = 0;
    virtual void SetAreaLabelVisible(bool visible) = 0;

    // P_MAreas, and with it the area grid.
    virtual void SetAreasPanelEnabled(bool enabled) = 0;

    // The page PC_Main shows.
    virtual Page ActivePage() const = 0;

    virtual std::string EditText(InputEdit edit) const = 0;
    // SG_Areas: 4 columns, GridRowCount rows, cells as typed.
    static constexpr int GridRowCount = 50;
    static constexpr int GridColumnCount = 4;
    virtual std::string GridCell(int column, int row) const = 0;
    // M_Points as its control counts lines: wrapped lines count one each, and
    // an empty last line does not count.
    virtual int MemoLineCount() const = 0;
    virtual std::string MemoLine(int index) const = 0;

    // Keyboard focus to E_VR.
    virtual void FocusRefreshEdit() = 0;

    // Locks (enable false) or unlocks one input control: kind 0 toggles an
    // edit's read-only flag, kind 2 a control's enabled flag, each with its
    // background colour; any other kind changes nothing.
    virtual void SetFieldState(std::int16_t kind, Control control, bool enable) = 0;

    // A modal message box; ticks keep arriving while it is open.
    virtual ModalResult ShowMessage(const std::string& text, BoxType type, unsigned buttons) = 0;

    // The application's default error box (stop icon, OK); text is final.
    virtual void ShowDefaultErrorBox(const std::string& text) = 0;

    // The default error box of a failed tick. It must not wait for OK: the
    // ticks go on behind it and retry. While one is open, a further fault
    // shows no second box. A window whose boxes never wait may show it as
    // any default error box.
    virtual void ShowTickFault(const std::string& text) { ShowDefaultErrorBox(text); }
    // A view has been written again: the tick's error box, if still open,
    // closes.
    virtual void TickFaultCleared() {}
};

} // namespace tembrel
