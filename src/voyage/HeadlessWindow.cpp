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
        std::size_t end = text.find('\n', begin);
        const bool broken = end != std::string::npos;
        if (!broken) {
            end = text.size();
        }
        std::size_t last = end;
        if (broken && last > begin && text[last - 1] == '\r') {
            --last;
        }
        lines.push_back(text.substr(begin, last - begin));
        begin = broken ? end + 1 : end;
    }
    return lines;
}

void HeadlessWindow::SetFieldState(std::int16_t kind, Control control, bool enable) {
    FieldState& field = fields_[static_cast<std::size_t>(control)];
    const char* colour = enable ? WhiteColour : LockedColour;
    if (kind == 0) {
        field.readOnly = !enable;
        field.colour = colour;
    } else if (kind == 2) {
        field.enabled = enable;
        field.colour = colour;
    }
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
