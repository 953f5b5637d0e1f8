// A full 5,634-byte program image (177 blocks) downloaded to the simulated controller over TCP loopback
// with the specified 0.1 s pause before each block. Reported: the time per block beyond that pause, which
// is the protocol and program overhead (goal: under 1 ms per block).
#include <benchmark/benchmark.h>

#include <chrono>
#include <numeric>

#include "program/transfer/program_transfer.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

constexpr int ImageSize = 5634;
constexpr double BlockPause = 0.1;

void FullImageDownload(benchmark::State& state) {
    SimController sim(10);
    SimSession session;
    ModelRecord& model = session.shell->Models[DefaultModelIndex];
    model.ProgramBase = 512;
    model.ProgramCapacity = ImageSize;
    if (!session.connectTcp(sim.startTcp())) {
        state.SkipWithError("no connection to the simulated controller");
        return;
    }
    for (size_t i = 0; i < ImageSize; ++i) session.project->ProgramImage[i] = uint8_t(i * 13);
    std::vector<int> blocks(ImageSize / 32 + 1);
    std::iota(blocks.begin(), blocks.end(), 0);

    double overheadPerBlockMs = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        bool ok = DownloadProgramma(session.app, {}, blocks);
        std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        if (!ok) state.SkipWithError("download failed");
        overheadPerBlockMs = (elapsed.count() - double(blocks.size()) * BlockPause) / double(blocks.size()) * 1000;
        state.SetIterationTime(elapsed.count());
    }
    state.counters["blocks"] = double(blocks.size());
    state.counters["overhead_ms_per_block"] = overheadPerBlockMs;
}
BENCHMARK(FullImageDownload)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
