#pragma once

#include "DefaultErrorBox.h"
#include "HeadlessWindow.h"
#include "ViewFileWriter.h"
#include "VirtualClock.h"
#include "VoyageController.h"
#include "VoyageState.h"

#include "ScratchDirectory.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace tembrel::test {

using Event = HeadlessWindow::Event;

// An event at a time in whole seconds.
inline Event At(std::int64_t seconds, std::string text) {
    return Event{seconds * 1000, std::move(text)};
}

// The texts between the tags of lines 6 to 8 of the view file on disk.
inline std::string ViewTextsOnDisk(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    auto inner = [](const std::string& line) {
        const auto open = line.find('>');
        const auto close = line.rfind("</");
        return open != std::string::npos && close != std::string::npos && close > open
                   ? line.substr(open + 1, close - open - 1)
                   : "(" + line + ")";
    };
    if (lines.size() != 13) {
        return "(" + std::to_string(lines.size()) + " lines)";
    }
    return inner(lines[5]) + " " + inner(lines[6]) + " " + inner(lines[7]);
}

// A headless window, the real controller and a virtual clock, wired as the
// program wires them: ticks and button presses run through RunHandler, and
// every view written is read back from disk into the event log.
class VoyageHarness {
public:
    // The view file goes into folder, or a scratch folder of its own.
    explicit VoyageHarness(const std::filesystem::path& folder = {})
        : writer(folder.empty() ? scratch.Path() : folder),
          controller(state, window, window, window.Timer(), writer) {
        controller.SetViewWrittenListener(
            [this] { window.Record("view " + ViewTextsOnDisk(writer.Path())); });
        window.SetTickHandler([this] { controller.Tick(); });
        controller.Create();
    }

    void SetEdit(InputEdit edit, std::string text) { window.SetEditText(edit, std::move(text)); }

    // The eight edits of the Area tab, in the order of the command line.
    void SetArea(std::string lat, std::string lon, std::string width, std::string height,
                 std::string snapWidth, std::string snapHeight, std::string altitude,
                 std::string refresh) {
        SetEdit(InputEdit::E_LatD, std::move(lat));
        SetEdit(InputEdit::E_LonD, std::move(lon));
        SetEdit(InputEdit::E_VE, std::move(width));
        SetEdit(InputEdit::E_VS, std::move(height));
        SetEdit(InputEdit::E_VEast, std::move(snapWidth));
        SetEdit(InputEdit::E_VSouth, std::move(snapHeight));
        SetEdit(InputEdit::E_VA, std::move(altitude));
        SetEdit(InputEdit::E_VR, std::move(refresh));
    }

    // The help's example area: six centres, period 10 s.
    void SetHelpExample() { SetArea("48.86", "2.2877", "1", "0.4", "0.3", "0.2", "250", "10"); }

    void SetGridRow(int row, std::string lat, std::string lon, std::string width,
                    std::string height) {
        window.SetGridCell(0, row, std::move(lat));
        window.SetGridCell(1, row, std::move(lon));
        window.SetGridCell(2, row, std::move(width));
        window.SetGridCell(3, row, std::move(height));
    }

    // Presses a button the way the window does; B_Start only while shown.
    void Start() {
        if (window.StartVisible()) {
            RunHandler(window, [this] { controller.Start(); });
        }
    }
    void Pause() {
        RunHandler(window, [this] { controller.Pause(); });
    }
    void Stop(ModalResult answer = ModalResult::Yes) {
        window.QueueAnswer(answer);
        RunHandler(window, [this] { controller.Stop(); });
    }

    // Runs the clock to a time in whole seconds.
    void RunTo(std::int64_t seconds) { clock.RunUntil(seconds * 1000); }
    // Runs until nothing is pending (or the limit); the time is then that of
    // the last event.
    void RunToEnd(std::int64_t limitSeconds = 100000) {
        for (auto due = clock.NextDue(); due && *due <= limitSeconds * 1000;
             due = clock.NextDue()) {
            clock.RunUntil(*due);
        }
    }

    // Events from a given kind ("view", "gauge", "box"...).
    std::vector<Event> EventsOf(const std::string& kind) const {
        std::vector<Event> selected;
        for (const Event& event : window.Events()) {
            if (event.text.rfind(kind + " ", 0) == 0) {
                selected.push_back(event);
            }
        }
        return selected;
    }

    // The whole layout of an idle window, as after EndVoyage.
    void ExpectIdleLayout() const {
        EXPECT_FALSE(window.Timer().Enabled());
        for (Control control : {Control::E_LatD, Control::E_LonD, Control::E_VE, Control::E_VS,
                                Control::E_VA, Control::E_VEast, Control::E_VSouth}) {
            EXPECT_EQ(window.Field(control),
                      (HeadlessWindow::FieldState{false, true, HeadlessWindow::WhiteColour}))
                << static_cast<int>(control);
        }
        EXPECT_EQ(window.Field(Control::M_Points),
                  (HeadlessWindow::FieldState{false, true, HeadlessWindow::WhiteColour}));
        EXPECT_TRUE(window.AreasPanelEnabled());
        EXPECT_EQ(state.CurLat, 0.0f);
        EXPECT_EQ(state.CurLon, 0.0f);
        EXPECT_FALSE(state.Paused);
        EXPECT_FALSE(state.InProgress);
        EXPECT_EQ(window.StartCaption(), "Start Voyage");
        EXPECT_TRUE(window.StartVisible());
        EXPECT_EQ(window.Progress(), 0);
        EXPECT_FALSE(window.AreaLabelVisible());
    }

    ScratchDirectory scratch;
    VirtualClock clock;
    HeadlessWindow window{clock};
    ViewFileWriter writer;
    VoyageState state;
    VoyageController controller;
};

// Prints an event list one per line, so that a failed comparison is readable.
inline std::string Describe(const std::vector<Event>& events) {
    std::string text;
    for (const Event& event : events) {
        text += std::to_string(event.time) + "ms " + event.text + "\n";
    }
    return text;
}

// Table cases print as their name in test listings. The unnamed namespace is
// each test file's own, where the case structs live, so that lookup finds it.
namespace {
template <class Case>
requires requires(const Case& c) {
    std::string_view(c.name);
}
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}
} // namespace

} // namespace tembrel::test

namespace tembrel {
inline void PrintTo(const HeadlessWindow::Event& event, std::ostream* out) {
    *out << event.time << "ms " << event.text;
}
} // namespace tembrel
