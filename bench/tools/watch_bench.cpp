// One refresh of a watch list of 100 registers, contiguous (100..199) and scattered (every other
// register from 100), read from the simulated controller over RTU on a pseudo-terminal. The reference
// is one request per register, as the watch read before. Every refresh must bring the controller's
// values (else exit 1). Prints per list the requests per refresh, the time the bytes and the gaps
// between frames take on a 9600 Bd line, and the measured time per refresh on the pseudo-terminal.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "comm/input_register_read.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "tools/watch_view.h"

namespace {

constexpr int Watched = 100;
constexpr int LineBaud = 9600;
constexpr int BitsPerCharacter = 11;
constexpr double GapCharacters = 3.5;
constexpr int RequestBytes = 8;   // node, function, address, count, CRC
constexpr int AnswerOverhead = 5; // node, function, byte count, CRC

uint16_t valueOf(int reg) {
    return static_cast<uint16_t>(reg * 7 + 3);
}

// The line time of one function-4 request for count registers: both frames and the gap after each.
double lineSeconds(int count) {
    const double characters = RequestBytes + AnswerOverhead + 2 * count + 2 * GapCharacters;
    return characters * BitsPerCharacter / LineBaud;
}

struct Refresh {
    size_t requests = 0;
    double lineSeconds = 0;
    double seconds = 0;
};

Refresh measure(SimController& sim, const std::function<bool()>& refresh) {
    sim.clearTranscript();
    const auto start = std::chrono::steady_clock::now();
    if (!refresh()) FailBench("a refresh failed");
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    Refresh r;
    r.seconds = took.count();
    for (const Bytes& request : sim.transcript()) {
        ++r.requests;
        r.lineSeconds += lineSeconds(request.size() >= 6 ? request[5] : 0);
    }
    return r;
}

} // namespace

int main() {
    SimController sim(10);
    SimSession session;
    if (!session.connectRtu(sim.startRtu(), std::to_string(LineBaud)))
        FailBench("no connection to the simulated controller");
    for (int r = 0; r < 400; ++r)
        sim.setInput(static_cast<uint16_t>(r), valueOf(r));

    struct List {
        const char* name;
        std::vector<int> regs;
    };
    List lists[2] = {{"contiguous", {}}, {"scattered", {}}};
    for (int i = 0; i < Watched; ++i) {
        lists[0].regs.push_back(100 + i);
        lists[1].regs.push_back(100 + 2 * i);
    }
    for (const List& list : lists) {
        WatchView watch(session.app);
        session.project->Watch[0] = 0;
        for (int r : list.regs)
            if (!watch.add(r)) FailBench("register not added");
        auto& table = session.comm->Registers;
        auto ours = [&] {
            for (int r : list.regs)
                table[static_cast<size_t>(r)].Value = 0;
            const bool ok = watch.refresh();
            for (int r : list.regs)
                if (table[static_cast<size_t>(r)].Value != valueOf(r)) FailBench("a watched value is wrong");
            return ok;
        };
        auto oneByOne = [&] {
            for (int r : list.regs) {
                auto v = LeggiRegistriInput(session.app, 10, r, 1);
                if (!v || (*v)[0] != valueOf(r)) return false;
            }
            return true;
        };
        std::vector<Refresh> our(BenchRounds), ref(BenchRounds);
        std::vector<double> ratios;
        for (int round = 0; round < BenchRounds; ++round) {
            const bool reverse = round % 2 != 0;
            if (reverse) ref[size_t(round)] = measure(sim, oneByOne);
            our[size_t(round)] = measure(sim, ours);
            if (!reverse) ref[size_t(round)] = measure(sim, oneByOne);
            ratios.push_back(our[size_t(round)].seconds / ref[size_t(round)].seconds);
        }
        std::vector<double> ourSeconds, refSeconds;
        for (int round = 0; round < BenchRounds; ++round) {
            ourSeconds.push_back(our[size_t(round)].seconds);
            refSeconds.push_back(ref[size_t(round)].seconds);
        }
        std::printf("%s, %d registers: %zu requests per refresh (one per register: %zu); at %d Bd %.3f s of "
                    "line time (one per register: %.3f s); on the pseudo-terminal %.2f ms (one per register: "
                    "%.2f ms, medians)\n",
                    list.name, Watched, our[0].requests, ref[0].requests, LineBaud, our[0].lineSeconds,
                    ref[0].lineSeconds, Median(ourSeconds) * 1000, Median(refSeconds) * 1000);
        PrintRatio(std::string(list.name) + " refresh time", ratios);
    }
    return 0;
}
