// WriteViewFile against the floor of the same job: a bare exclusive create,
// write and close of the same 13 lines beside the view file, and the rename
// over it, in the same directory.
#include "ViewFileWriter.h"

#include "ScratchDirectory.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace tembrel {
namespace {

namespace fs = std::filesystem;
using test::ScratchDirectory;

VoyageState HelpExampleStart() {
    VoyageState state;
    state.CurLat = 48.859111785888671875f;
    state.CurLon = 2.2892415523529052734375f;
    state.Range = 250;
    return state;
}

void BM_ViewFileFloor(benchmark::State& state) {
    const ScratchDirectory dir;
    const std::string path = (dir.Path() / ViewFileWriter::FileName).string();
    const std::string temporary = (dir.Path() / ".TembrelData.KML.tmp").string();
    const std::string document = ViewFileWriter::Render(HelpExampleStart(), '.');
    for (auto _ : state) {
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 || ::write(fd, document.data(), document.size()) < 0 || ::close(fd) != 0 ||
            ::rename(temporary.c_str(), path.c_str()) != 0) {
            state.SkipWithError("bare write failed");
            break;
        }
    }
}
BENCHMARK(BM_ViewFileFloor)->MinTime(0.2)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_WriteViewFile(benchmark::State& state) {
    const ScratchDirectory dir;
    const ViewFileWriter writer(dir.Path());
    const VoyageState voyage = HelpExampleStart();
    for (auto _ : state) {
        writer.WriteViewFile(voyage, '.');
    }
}
BENCHMARK(BM_WriteViewFile)->MinTime(0.2)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace
} // namespace tembrel
