// Benchmarks of the main window, each against its target:
// - the program's start up to the main window's first paint, against a
//   minimal Qt Widgets program showing one window with one label (each a
//   fresh process, run offscreen, interleaved): at most 1.4 times that
//   floor. The label is in the floor because the first text drawn costs the
//   font database's start, whatever the window; the same window empty is
//   shown for information;
// - the resident memory of both at that moment: at most the floor + 10 MB;
// - a Scattered Points tick through the real memo holding 32767 short lines:
//   under 5 ms. The same tick with a search over the whole memo, and the
//   first reading of the memo's lines after a change, are shown for
//   information.

#include "FirstPaintReport.h"
#include "InterleavedStart.h"

#include "FakeCacheFolderCommand.h"
#include "FakeSettingsStore.h"
#include "RecordingShellOpener.h"
#include "ScriptedMessageBoxRoutine.h"
#include "TF_Main.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTabWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace tembrel;

// ---------------------------------------------------------------- start-up

struct ChildRun {
    bool ok = false;
    double seconds = 0;
    double residentMegabytes = 0;
};

ChildRun RunChild(const QString& program, const QStringList& arguments, const QString& configHome) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The settings are read from a folder of the benchmark's own.
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    const long long started = bench::MonotonicNanoseconds();
    child.start(program, arguments);
    if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit ||
        child.exitCode() != 0) {
        return {};
    }
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    if (fields.size() != 2) {
        return {};
    }
    const long long shown = fields[0].toLongLong();
    const long long resident = fields[1].toLongLong();
    return {shown > started && resident > 0, static_cast<double>(shown - started) * 1e-9,
            static_cast<double>(resident) / 1024.0};
}

void BM_StartUp(benchmark::State& state, const char* program, const char* argument) {
    QTemporaryDir configHome;
    std::vector<double> resident;
    QStringList arguments;
    if (*argument != '\0') {
        arguments << QLatin1String(argument);
    }
    for (auto _ : state) {
        const ChildRun run =
            RunChild(QString::fromLocal8Bit(program), arguments, configHome.path());
        if (!run.ok) {
            state.SkipWithError("the child did not report its first paint");
            return;
        }
        state.SetIterationTime(run.seconds);
        resident.push_back(run.residentMegabytes);
    }
    std::sort(resident.begin(), resident.end());
    state.counters["rss_MB"] = resident[resident.size() / 2];
}
BENCHMARK_CAPTURE(BM_StartUp, floor, TEMBREL_BENCH_FLOOR_WINDOW, "")
    ->UseManualTime()
    ->Iterations(8)
    ->Repetitions(6)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUp, floor_with_text, TEMBREL_BENCH_FLOOR_WINDOW, "text")
    ->UseManualTime()
    ->Iterations(8)
    ->Repetitions(6)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_StartUp, main_window, TEMBREL_BENCH_MAIN_WINDOW, "")
    ->UseManualTime()
    ->Iterations(8)
    ->Repetitions(6)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- ticks

// The main window on the Scattered Points page with a memo of 32767 lines.
class PointsWindow {
public:
    explicit PointsWindow(const QString& memo)
        : window_({.settings = settings_,
                   .shell = shell_,
                   .cacheFolder = cacheFolder_,
                   .messageBox = boxes_,
                   .viewFileDirectory = viewFolder_.path().toStdString(),
                   .decimalSeparator = [] { return '.'; }}) {
        window_.show();
        QApplication::processEvents();
        auto* pages = window_.findChild<QTabWidget*>(QStringLiteral("PC_Main"));
        pages->setCurrentWidget(window_.findChild<QWidget*>(QStringLiteral("TS_Points")));
        window_.findChild<QLineEdit*>(QStringLiteral("E_VA"))->setText(QStringLiteral("250"));
        window_.findChild<QLineEdit*>(QStringLiteral("E_VR"))->setText(QStringLiteral("600"));
        Memo()->setPlainText(memo);
        QApplication::processEvents();
    }

    TF_Main& Window() { return window_; }
    QPlainTextEdit* Memo() {
        return window_.findChild<QPlainTextEdit*>(QStringLiteral("M_Points"));
    }
    const test::ScriptedMessageBoxRoutine& Boxes() const { return boxes_; }

private:
    QTemporaryDir viewFolder_;
    test::FakeSettingsStore settings_;
    test::RecordingShellOpener shell_;
    test::FakeCacheFolderCommand cacheFolder_;
    test::ScriptedMessageBoxRoutine boxes_;
    TF_Main window_;
};

constexpr int LongestMemo = 32767;

QString PointLines(int count) {
    QString memo;
    for (int i = 0; i < count; ++i) {
        memo += QStringLiteral("%1.5, %2.25\n").arg(i % 180).arg(i % 90);
    }
    return memo;
}

// Every line a point: each tick writes one and loads the next.
void BM_PointTick(benchmark::State& state) {
    PointsWindow points(PointLines(LongestMemo));
    TF_Main& window = points.Window();
    window.B_StartClick();
    for (auto _ : state) {
        if (!window.Timer().Enabled()) {
            state.PauseTiming();
            window.B_StartClick(); // the end of the memo: a new voyage
            state.ResumeTiming();
        }
        window.T_TimerTimer();
    }
    if (!points.Boxes().errors.empty() || window.VoyagePorts().MemoLineCount() != LongestMemo) {
        state.SkipWithError("the voyage failed");
    }
}
BENCHMARK(BM_PointTick)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// The only point on the last line: every search runs over the whole memo.
void BM_PointTickSearchingWholeMemo(benchmark::State& state) {
    QString memo;
    for (int i = 0; i < LongestMemo - 1; ++i) {
        memo += QStringLiteral("line %1 without a point\n").arg(i);
    }
    memo += QStringLiteral("-25.365, 16.2145");
    PointsWindow points(memo);
    TF_Main& window = points.Window();
    window.B_StartClick();
    for (auto _ : state) {
        if (!window.Timer().Enabled()) {
            state.SkipWithError("the voyage ended");
            return;
        }
        window.T_TimerTimer();
    }
}
BENCHMARK(BM_PointTickSearchingWholeMemo)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

// The first count of the memo's lines after its text changed: the layout of
// every line is read once.
void BM_MemoLinesAfterChange(benchmark::State& state) {
    const QString memo = PointLines(LongestMemo);
    PointsWindow points(memo);
    for (auto _ : state) {
        state.PauseTiming();
        points.Memo()->setPlainText(memo);
        state.ResumeTiming();
        benchmark::DoNotOptimize(points.Window().VoyagePorts().MemoLineCount());
    }
}
BENCHMARK(BM_MemoLinesAfterChange)
    ->Iterations(3)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------- targets

// Keeps the medians of the runs to print the targets after them.
class MedianReporter final : public benchmark::ConsoleReporter {
public:
    struct Figures {
        double realNanoseconds = 0;
        double residentMegabytes = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Aggregate ||
                run.aggregate_name != "median") {
                continue;
            }
            Figures& figures = medians[run.run_name.function_name];
            figures.realNanoseconds =
                run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            const auto rss = run.counters.find("rss_MB");
            if (rss != run.counters.end()) {
                figures.residentMegabytes = rss->second.value;
            }
        }
    }

    std::map<std::string, Figures> medians;
};

int PrintTargets(const MedianReporter& reporter) {
    int missed = 0;
    const auto verdict = [&](bool met) {
        missed += met ? 0 : 1;
        return met ? "  OK\n" : "  MISSED\n";
    };
    const auto floor = reporter.medians.find("BM_StartUp/floor");
    const auto text = reporter.medians.find("BM_StartUp/floor_with_text");
    const auto main = reporter.medians.find("BM_StartUp/main_window");
    if (floor != reporter.medians.end() && text != reporter.medians.end() &&
        main != reporter.medians.end()) {
        const double ratio = main->second.realNanoseconds / text->second.realNanoseconds;
        std::printf("Start-up to the first paint: %.1f ms against %.1f ms for one window with one "
                    "label, %.2f x (target <= 1.4)%s",
                    main->second.realNanoseconds * 1e-6, text->second.realNanoseconds * 1e-6, ratio,
                    verdict(ratio <= 1.4));
        std::printf("  for information, against one empty window: %.1f ms, %.2f x\n",
                    floor->second.realNanoseconds * 1e-6,
                    main->second.realNanoseconds / floor->second.realNanoseconds);
        const double extra = main->second.residentMegabytes - floor->second.residentMegabytes;
        std::printf("Resident memory after start: %.1f MB against %.1f MB, %+.1f MB "
                    "(target <= +10 MB)%s",
                    main->second.residentMegabytes, floor->second.residentMegabytes, extra,
                    verdict(extra <= 10.0));
    }
    const auto tick = reporter.medians.find("BM_PointTick");
    if (tick != reporter.medians.end()) {
        std::printf("Point tick through the memo of 32767 lines: %.3f ms (target < 5 ms)%s",
                    tick->second.realNanoseconds * 1e-6,
                    verdict(tick->second.realNanoseconds < 5e6));
    }
    return missed;
}

} // namespace

int main(int argc, char* argv[]) {
    std::optional<std::vector<char*>> args = tembrel::bench::InitializeInterleaved(argc, argv);
    if (!args) {
        return 1;
    }
    int count = static_cast<int>(args->size()) - 1;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(count, args->data());
    std::setlocale(LC_NUMERIC, "C");

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << std::endl;
    PrintTargets(reporter);
    benchmark::Shutdown();
    return 0;
}
