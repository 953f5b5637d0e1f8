// Download of program blocks to the simulated controller, over TCP loopback and over RTU on a
// pseudo-terminal, with the specified 0.1 s pause before each block. Each round downloads the first 32
// blocks (1,024 bytes, about a sixth of the program area: whole downloads of 177 blocks would take 18 s
// each; 4 blocks in a short run) over both links, in interleaved rounds; each round's image is another
// pattern, and the controller's memory, cleared before, must then hold it byte for byte, after a time no
// shorter than the pauses (else exit 1: a download that skips them is no faster one). Prints the time
// against the sum of the specified pauses, and the time per block beyond its pause (the protocol and
// program overhead).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <string>

#include "bench_stats.h"
#include "program/transfer/program_transfer.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

constexpr int ProgramBase = 512;
constexpr int ProgramArea = 5634;
constexpr int BlockBytes = 32;
constexpr double BlockPause = 0.1;

// One link to its own simulated controller.
struct Link {
    std::string name;
    int blocks = FullOrShort(32, 4);
    SimController sim{10};
    SimSession session;
    int round = 0;

    explicit Link(std::string linkName) : name(std::move(linkName)) {
        ModelRecord& model = session.shell->Models[DefaultModelIndex];
        model.ProgramBase = ProgramBase;
        model.ProgramCapacity = ProgramArea;
    }

    double pauses() const { return blocks * BlockPause; }

    // Seconds one download of the round's image takes; its bytes are checked in the controller.
    double download() {
        const size_t bytes = size_t(blocks) * BlockBytes;
        ++round;
        for (size_t i = 0; i < bytes; ++i) session.project->ProgramImage[i] = uint8_t(i * 13 + 7 * round);
        sim.setMemory(ProgramBase, Bytes(bytes, 0));
        std::vector<int> list(size_t(blocks), 0);
        std::iota(list.begin(), list.end(), 0);
        const auto start = std::chrono::steady_clock::now();
        if (!DownloadProgramma(session.app, {}, list, session.project->ProgramImage))
            FailBench(name + " download failed");
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        const std::string where = " after " + name + " round " + std::to_string(round);
        const Bytes written = sim.memory(ProgramBase, bytes);
        if (!std::equal(written.begin(), written.end(), session.project->ProgramImage.begin()))
            FailBench("the controller's memory differs from the image" + where);
        // Each pause ends on the steady clock this bench reads, never before its time.
        if (took.count() < pauses())
            FailBench("the download took " + std::to_string(took.count()) + " s, less than its pauses of " +
                      std::to_string(pauses()) + " s" + where);
        return took.count();
    }
};

} // namespace

int main(int argc, char** argv) {
    ReadBenchMode(argc, argv);
    Link tcp("TCP"), rtu("RTU");
    if (!tcp.session.connectTcp(tcp.sim.startTcp())) FailBench("no TCP connection to the simulated controller");
    if (!rtu.session.connectRtu(rtu.sim.startRtu())) FailBench("no RTU connection to the simulated controller");
    const auto seconds = InterleavedRounds({[&] { return tcp.download(); }, [&] { return rtu.download(); }});
    const Link* links[] = {&tcp, &rtu};
    for (size_t k = 0; k < seconds.size(); ++k) {
        const Link& link = *links[k];
        const double pauses = link.pauses();
        std::vector<double> ratios;
        for (double s : seconds[k]) ratios.push_back(s / pauses);
        const double total = Median(seconds[k]);
        std::printf("%s: %zu rounds of %d blocks, memory and time checked after each; total %.3f s (median), "
                    "specified pauses %.3f s, overhead %.3f ms per block\n",
                    link.name.c_str(), seconds[k].size(), link.blocks, total, pauses,
                    (total - pauses) / link.blocks * 1000);
        PrintRatio(link.name + " download total/pauses", ratios);
    }
    return 0;
}
