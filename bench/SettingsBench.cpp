// Restoring the edit texts from a settings file overgrown to 200,000 keys
// (about 2 MB), against the same from a file of the eight keys alone.
#include "IniSettingsStore.h"
#include "TargetReporter.h"

#include "ScratchDirectory.h"

#include <benchmark/benchmark.h>

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>

#include <fstream>
#include <iostream>
#include <string>

namespace tembrel {
namespace {

using test::ScratchDirectory;

const EditTexts kTexts{"30.124555", "31.254447", "2.5", "0.54", "1", "0.8", "1200", "5"};

std::string SettingsFile(int otherKeys) {
    std::string file = "[General]\n";
    for (int i = 0; i < otherKeys; ++i) {
        file += "Key" + std::to_string(i) + "=v\n";
    }
    for (std::size_t i = 0; i < kTexts.size(); ++i) {
        file += std::string(EditValueNames[i]) + '=' + kTexts[i] + '\n';
    }
    return file;
}

// QSettings answers from memory for a file whose size and time stamp have not
// changed, so each restore first gives the file a time stamp of its own.
void BM_Restore(benchmark::State& state) {
    const ScratchDirectory dir;
    const std::string path = (dir.Path() / "Tembrel.conf").string();
    std::ofstream(path, std::ios::binary) << SettingsFile(static_cast<int>(state.range(0)));
    IniSettingsStore store(QFile::decodeName(path.c_str()));
    timespec stamp{.tv_sec = 1000000000, .tv_nsec = 0};
    for (auto _ : state) {
        state.PauseTiming();
        ++stamp.tv_sec;
        const timespec times[2] = {stamp, stamp};
        ::utimensat(AT_FDCWD, path.c_str(), times, 0);
        state.ResumeTiming();
        if (store.Restore() != kTexts) {
            state.SkipWithError("wrong texts restored");
            break;
        }
    }
}
BENCHMARK(BM_Restore)
    ->Name("BM_RestoreEightKeys")
    ->Arg(0)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Restore)
    ->Name("BM_Restore200000Keys")
    ->Arg(200000)
    ->Iterations(3)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

void BM_Save(benchmark::State& state) {
    const ScratchDirectory dir;
    IniSettingsStore store(QFile::decodeName((dir.Path() / "Tembrel.conf").c_str()));
    for (auto _ : state) {
        if (!store.Save(kTexts)) {
            state.SkipWithError("save failed");
            break;
        }
    }
}
BENCHMARK(BM_Save)
    ->Name("BM_SaveEightTexts")
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);

const BenchTarget Targets[] = {
    {"Restore from 200,000 keys against 8 keys", "BM_Restore200000Keys", "BM_RestoreEightKeys",
     10000},
    {"Restore from 200,000 keys (about 2 MB), ns", "BM_Restore200000Keys", "", 5e8},
    {"Save of the eight texts (synced, renamed), ns", "BM_SaveEightTexts", "", 5e7},
};

} // namespace
} // namespace tembrel

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    tembrel::TargetReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::cout << '\n';
    reporter.PrintTargets(std::cout, tembrel::Targets);
    benchmark::Shutdown();
    return 0;
}
