// A full program area (5,634 bytes, 177 blocks of 32) downloaded to the simulated controller over TCP
// loopback, with the specified 0.1 s pause before each block. The controller's memory must then hold the
// image byte for byte (else exit 1). Prints the total time against the sum of the specified pauses, and
// the time per block beyond its pause (the protocol and program overhead).
#include <chrono>
#include <cstdio>
#include <numeric>

#include "bench_stats.h"
#include "program/transfer/program_transfer.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

constexpr int ProgramBase = 512;
constexpr int ImageSize = 5634;
constexpr double BlockPause = 0.1;

} // namespace

int main() {
    SimController sim(10);
    SimSession session;
    ModelRecord& model = session.shell->Models[DefaultModelIndex];
    model.ProgramBase = ProgramBase;
    model.ProgramCapacity = ImageSize;
    if (!session.connectTcp(sim.startTcp())) FailBench("no connection to the simulated controller");
    for (size_t i = 0; i < ImageSize; ++i) session.project->ProgramImage[i] = uint8_t(i * 13 + 7);
    std::vector<int> blocks(ImageSize / 32 + 1);
    std::iota(blocks.begin(), blocks.end(), 0);

    const auto start = std::chrono::steady_clock::now();
    if (!DownloadProgramma(session.app, {}, blocks)) FailBench("download failed");
    const std::chrono::duration<double> total = std::chrono::steady_clock::now() - start;

    const Bytes written = sim.memory(ProgramBase, ImageSize);
    if (!std::equal(written.begin(), written.end(), session.project->ProgramImage.begin()))
        FailBench("the controller's memory differs from the image");
    const double pauses = double(blocks.size()) * BlockPause;
    std::printf("download of %zu blocks: total %.3f s, specified pauses %.3f s, overhead %.3f ms per block\n",
                blocks.size(), total.count(), pauses, (total.count() - pauses) / double(blocks.size()) * 1000);
    PrintRatio("download total/pauses", {total.count() / pauses});
    return 0;
}
