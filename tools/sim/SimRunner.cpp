#include "SimRunner.h"

#include "DefaultErrorBox.h"
#include "HeadlessWindow.h"
#include "ViewFileWriter.h"
#include "ViewReadback.h"
#include "VirtualClock.h"
#include "VoyageController.h"
#include "VoyageState.h"

#include <algorithm>
#include <cstddef>
#include <fstream>

namespace tembrel {

namespace {

// The whole file, refused when it holds more than MaxInputFileBytes: reading
// stops there, so an endless source (a device, say) costs no more.
std::string ReadTextFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        throw UsageError("cannot read '" + Utf8Text(file) + "'");
    }
    std::string text;
    char chunk[65536];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        text.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (text.size() > MaxInputFileBytes) {
            throw UsageError("'" + Utf8Text(file) + "' is larger than 4 MiB");
        }
    }
    if (in.bad()) {
        throw UsageError("cannot read '" + Utf8Text(file) + "'");
    }
    return text;
}

void Perform(const SimAction& action, HeadlessWindow& window, VoyageController& controller) {
    switch (action.kind) {
    case SimAction::Kind::Start:
        // A hidden button cannot be pressed.
        if (window.StartVisible()) {
            RunHandler(window, [&] { controller.Start(); });
        }
        break;
    case SimAction::Kind::Pause:
        RunHandler(window, [&] { controller.Pause(); });
        break;
    case SimAction::Kind::Stop:
    case SimAction::Kind::StopNo:
        window.QueueAnswer(action.kind == SimAction::Kind::Stop ? ModalResult::Yes
                                                                : ModalResult::No);
        RunHandler(window, [&] { controller.Stop(); });
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
    inputs.grid = options.gridFile
                      ? ParseGrid(WithoutByteOrderMark(ReadTextFile(*options.gridFile)))
                      : ExampleGrid();
    inputs.memoText = options.memoFile
                          ? CheckMemo(WithoutByteOrderMark(ReadTextFile(*options.memoFile)))
                          : ExampleMemo();
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

void RunSimulation(const SimOptions& options, const SimInputs& inputs,
                   const std::function<void(const std::string&)>& output) {
    VirtualClock clock;
    HeadlessWindow window(clock);
    const ViewFileWriter writer(options.directory);
    VoyageState state;
    VoyageController controller(state, window, window, window.Timer(), writer);
    controller.SetDecimalSeparator(options.decimalSeparator);
    controller.SetViewWrittenListener(
        [&] { window.Record("view " + ReadViewTexts(writer.Path())); });
    window.SetTickHandler([&] { controller.Tick(); });

    controller.Create();
    FillWindow(window, options, inputs);

    for (const SimAction& action : options.actions) {
        clock.ScheduleAt(action.at, [&, action] { Perform(action, window, controller); });
    }
    // A stretch of virtual time at a time, its lines passed on as it ends,
    // so that a long run holds no more than one stretch's events.
    constexpr VirtualClock::Milliseconds Stretch = 3600 * 1000;
    VirtualClock::Milliseconds reached = 0;
    do {
        reached = std::min(reached + Stretch, options.until);
        clock.RunUntil(reached);
        for (const HeadlessWindow::Event& event : window.Events()) {
            output(FormatSeconds(event.time) + " " + event.text);
        }
        window.ClearEvents();
    } while (reached < options.until && clock.Pending());
}

std::vector<std::string> RunSimulation(const SimOptions& options, const SimInputs& inputs) {
    std::vector<std::string> lines;
    RunSimulation(options, inputs, [&](const std::string& line) { lines.push_back(line); });
    return lines;
}

} // namespace tembrel
