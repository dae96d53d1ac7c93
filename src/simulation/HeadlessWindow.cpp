#include "HeadlessWindow.h"

#include "DefaultErrorBox.h"
#include "GaugeModel.h"
#include "Messages.h"

#include <cstddef>

namespace tembrel {

namespace {

const char* BoxTypeName(BoxType type) {
    switch (type) {
    case BoxType::Error:
        return "error";
    case BoxType::Information:
        return "information";
    case BoxType::Confirmation:
        return "confirmation";
    }
    return "?";
}

} // namespace

HeadlessWindow::HeadlessWindow(VirtualClock& clock)
    : clock_(clock), timer_(clock), startCaption_(messages::StartCaption),
      labelCaption_(messages::AreaLabelPrefix) {
    clock_.SetTickHandler([this] { OnTick(); });
}

void HeadlessWindow::OnTick() {
    if (tickHandler_) {
        RunHandler(*this, tickHandler_);
    }
}

void HeadlessWindow::SetProgress(std::int64_t progress) {
    SetProgressValue(ClampProgress(progress));
}

void HeadlessWindow::AddProgress(std::int64_t step) {
    SetProgressValue(ClampProgress(progress_ + step));
}

void HeadlessWindow::SetProgressValue(std::int64_t progress) {
    if (progress == progress_) {
        return;
    }
    progress_ = progress;
    Record("gauge " + std::to_string(progress));
}

void HeadlessWindow::SetAreaLabelCaption(const std::string& caption) {
    if (caption == labelCaption_) {
        return;
    }
    labelCaption_ = caption;
    Record("label " + caption);
}

void HeadlessWindow::SetAreaLabelVisible(bool visible) {
    if (visible == labelVisible_) {
        return;
    }
    labelVisible_ = visible;
    Record(visible ? "label shown" : "label hidden");
}

std::string HeadlessWindow::EditText(InputEdit edit) const {
    return edits_[static_cast<std::size_t>(edit)];
}

void HeadlessWindow::SetEditText(InputEdit edit, std::string text) {
    edits_[static_cast<std::size_t>(edit)] = std::move(text);
}

std::string HeadlessWindow::GridCell(int column, int row) const {
    if (column < 0 || column >= GridColumnCount || row < 0 || row >= GridRowCount) {
        return {};
    }
    return grid_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void HeadlessWindow::SetGridCell(int column, int row, std::string text) {
    if (column < 0 || column >= GridColumnCount || row < 0 || row >= GridRowCount) {
        return;
    }
    grid_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::move(text);
}

std::string HeadlessWindow::MemoLine(int index) const {
    if (index < 0 || index >= MemoLineCount()) {
        return {};
    }
    return memo_[static_cast<std::size_t>(index)];
}

std::vector<std::string> HeadlessWindow::SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        // CR LF, CR and LF each end a line, as in the window's memo.
        std::size_t end = text.find_first_of("\r\n", begin);
        if (end == std::string::npos) {
            lines.push_back(text.substr(begin));
            break;
        }
        lines.push_back(text.substr(begin, end - begin));
        begin = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return lines;
}

void HeadlessWindow::SetFieldState(LockKind kind, Control control, bool enable) {
    FieldState& field = fields_[static_cast<std::size_t>(control)];
    switch (kind) {
    case LockKind::ReadOnly:
        field.readOnly = !enable;
        break;
    case LockKind::Enabled:
        field.enabled = enable;
        break;
    }
    field.colour = enable ? WhiteColour : LockedColour;
}

const HeadlessWindow::FieldState& HeadlessWindow::Field(Control control) const {
    return fields_[static_cast<std::size_t>(control)];
}

ModalResult HeadlessWindow::ShowMessage(const std::string& text, BoxType type, unsigned buttons) {
    Record(std::string("box ") + BoxTypeName(type) + " " + text);
    if (type != BoxType::Confirmation) {
        return (buttons & ButtonOk) != 0 ? ModalResult::Ok : ModalResult::Cancel;
    }
    Answer answer;
    if (!answers_.empty()) {
        answer = std::move(answers_.front());
        answers_.pop_front();
    }
    if (answer.whileOpen) {
        answer.whileOpen();
    }
    return answer.result;
}

void HeadlessWindow::ShowDefaultErrorBox(const std::string& text) {
    Record("errorbox " + text);
}

void HeadlessWindow::ShowTickFault(const std::string& text) {
    if (tickFaultOpen_) {
        return;
    }
    tickFaultOpen_ = true;
    Record("errorbox " + text);
}

void HeadlessWindow::TickFaultCleared() {
    if (!tickFaultOpen_) {
        return;
    }
    tickFaultOpen_ = false;
    Record("errorbox closed");
}

void HeadlessWindow::Record(std::string text) {
    events_.push_back(Event{clock_.Now(), std::move(text)});
}

} // namespace tembrel
