#include "SimRunner.h"

#include "DefaultErrorBox.h"
#include "HeadlessWindow.h"
#include "ViewFileWriter.h"
#include "ViewReadback.h"
#include "VirtualClock.h"
#include "VoyageController.h"
#include "VoyageState.h"

#include <cstddef>
#include <fstream>
#include <iterator>

namespace tembrel {

namespace {

std::string ReadTextFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw UsageError("cannot read '" + file.string() + "'");
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void Perform(const SimAction& action, HeadlessWindow& window, VoyageController& controller) {
    switch (action.kind) {
    case SimAction::Kind::Start:
        // A hidden button cannot be pressed.
        if (window.StartVisible()) {
            RunHandler(window, [&] { controller.B_StartClick(); });
        }
        break;
    case SimAction::Kind::Pause:
        RunHandler(window, [&] { controller.B_PauseClick(); });
        break;
    case SimAction::Kind::Stop:
    case SimAction::Kind::StopNo:
        window.QueueAnswer(action.kind == SimAction::Kind::Stop ? ModalResult::Yes
                                                                : ModalResult::No);
        RunHandler(window, [&] { controller.B_StopClick(); });
        break;
    case SimAction::Kind::Tab:
        window.SetActivePage(action.page);
        break;
    case SimAction::Kind::Refresh:
        window.SetEditText(InputEdit::E_VR, action.text);
        break;
    }
}

} // namespace

SimInputs LoadSimInputs(const SimOptions& options) {
    SimInputs inputs;
    inputs.grid = options.gridFile ? ParseGrid(ReadTextFile(*options.gridFile)) : ExampleGrid();
    inputs.memoText = options.memoFile ? ReadTextFile(*options.memoFile) : ExampleMemo();
    return inputs;
}

void FillWindow(HeadlessWindow& window, const SimOptions& options, const SimInputs& inputs) {
    window.SetActivePage(options.tab);
    for (std::size_t i = 0; i < options.edits.size(); ++i) {
        window.SetEditText(static_cast<InputEdit>(i), options.edits[i]);
    }
    for (std::size_t row = 0; row < inputs.grid.size(); ++row) {
        for (std::size_t column = 0; column < inputs.grid[row].size(); ++column) {
            window.SetGridCell(static_cast<int>(column), static_cast<int>(row),
                               inputs.grid[row][column]);
        }
    }
    window.SetMemoText(inputs.memoText);
}

std::vector<std::string> RunSimulation(const SimOptions& options, const SimInputs& inputs) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    const ViewFileWriter writer(options.directory);
    VoyageState state;
    VoyageController controller(state, window, writer);
    controller.SetDecimalSeparator(options.decimalSeparator);
    controller.SetViewWrittenListener(
        [&] { window.Record("view " + ReadViewTexts(writer.Path())); });
    window.SetTickHandler([&] { controller.T_TimerTimer(); });

    controller.FormCreate();
    FillWindow(window, options, inputs);

    for (const SimAction& action : options.actions) {
        clock.ScheduleAt(action.at, [&, action] { Perform(action, window, controller); });
    }
    clock.RunUntil(options.until);

    std::vector<std::string> lines;
    lines.reserve(window.Events().size());
    for (const HeadlessWindow::Event& event : window.Events()) {
        lines.push_back(FormatSeconds(event.time) + " " + event.text);
    }
    return lines;
}

} // namespace tembrel
