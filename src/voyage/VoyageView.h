#pragma once

#include <cstdint>
#include <string>

namespace tembrel {

// The controls a voyage locks: the eight edits and the points memo.
enum class Control { E_LatD, E_LonD, E_VE, E_VS, E_VEast, E_VSouth, E_VA, E_VR, M_Points };

// How a control is locked: an edit turns read-only, the memo disabled. Either
// way its background shows the lock.
enum class LockKind { ReadOnly, Enabled };

enum class BoxType { Error, Information, Confirmation };

// Buttons of a message box, combinable; shown in the order Yes, No, OK.
enum Buttons : unsigned { ButtonYes = 1, ButtonNo = 2, ButtonOk = 4 };

// What closed a message box. Cancel is its own close box: neither Yes nor No.
enum class ModalResult { Yes, No, Ok, Cancel };

// Abstract base class for what the user sees of a voyage: the gauge, the
// Start button, the area label, the area panel, input locking, focus and
// message boxes. The engine only tells it; it never asks it anything but the
// answer to a box. The main window's adapter and the headless window of the
// tests and of tembrel-sim implement it.
class VoyageView {
public:
    virtual ~VoyageView() = default;

    // GA_Progress, clamped to [0, GaugeMaximum] on every change (GaugeModel).
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

    // Keyboard focus to E_VR.
    virtual void FocusRefreshEdit() = 0;

    // Locks (enable false) or unlocks one input control, with its background
    // colour.
    virtual void SetFieldState(LockKind kind, Control control, bool enable) = 0;

    // A modal message box; ticks keep arriving while it is open.
    virtual ModalResult ShowMessage(const std::string& text, BoxType type, unsigned buttons) = 0;

    // The application's default error box (stop icon, OK); text is final.
    virtual void ShowDefaultErrorBox(const std::string& text) = 0;

    // The default error box of a failed tick. It must not wait for OK: the
    // ticks go on behind it and retry. While one is open, a further fault
    // shows no second box. A view whose boxes never wait may show it as any
    // default error box.
    virtual void ShowTickFault(const std::string& text) { ShowDefaultErrorBox(text); }
    // A view has been written again: the tick's error box, if still open,
    // closes.
    virtual void TickFaultCleared() {}

    // The voyage has ended, by its last centre or by a confirmed Stop: told
    // once, just before the end message. Whatever follows a voyage listens
    // here rather than to the boxes, which may say anything.
    virtual void VoyageEnded() {}
};

} // namespace tembrel
