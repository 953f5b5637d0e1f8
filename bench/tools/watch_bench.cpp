// One refresh of a watch list of 100 registers read from the simulated controller over RTU on a
// pseudo-terminal: contiguous (100..199), every other register from 100, and every 11th (gaps of 10, one
// more than the watch reads along: there ten registers read along cost as much as a new request). The
// reference reads the list in the fewest requests it allows: from the first register not read yet, everything
// up to 125 registers on, whatever the gaps. The bench checks its result in every round (else exit 1): every
// refresh brings the controller's values, the watch needs no more requests than the reference where the gaps
// are short enough to read along, and never more line time. Prints per list the requests per refresh, the
// time the bytes and the gaps between frames take on a 9600 Bd line, and the measured time per refresh on the
// pseudo-terminal.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "comm/input_register_read.h"
#include "core/language.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "tools/register_read.h"
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

// The fewest requests that read every register of the sorted list: each one from the first register not
// read yet, up to 125 registers on.
std::vector<RegisterBlock> fewestRequests(const std::vector<int>& regs) {
    std::vector<RegisterBlock> blocks;
    for (int r : regs) {
        if (!blocks.empty() && r - blocks.back().first < MaxInputRegisterBlock)
            blocks.back().count = r - blocks.back().first + 1;
        else
            blocks.push_back({r, 1});
    }
    return blocks;
}

} // namespace

int main(int argc, char** argv) {
    ReadBenchMode(argc, argv);
    SimController sim(10);
    SimSession session;
    CaricaRisorse(*session.shell, 1); // the model catalogue: the default model's registers
    if (!session.connectRtu(sim.startRtu(), std::to_string(LineBaud)))
        FailBench("no connection to the simulated controller");
    struct List {
        const char* name;
        int step;
        std::vector<int> regs = {};
    };
    List lists[] = {{"contiguous", 1}, {"every other", 2}, {"every 11th", 11}};
    for (List& list : lists)
        for (int i = 0; i < Watched; ++i)
            list.regs.push_back(100 + list.step * i);
    if (modelRegisterCount(session.app) <= lists[2].regs.back())
        FailBench("the model has too few registers for the lists");
    for (int r = 0; r < modelRegisterCount(session.app); ++r)
        sim.setInput(static_cast<uint16_t>(r), valueOf(r));

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
        const std::vector<RegisterBlock> fewest = fewestRequests(list.regs);
        auto reference = [&] {
            for (const RegisterBlock& b : fewest) {
                auto v = LeggiRegistriInput(session.app, 10, b.first, b.count);
                if (!v) return false;
                for (int i = 0; i < b.count; ++i)
                    if ((*v)[static_cast<size_t>(i)] != valueOf(b.first + i)) FailBench("a read value is wrong");
            }
            return true;
        };
        const bool shortGaps = list.step - 1 <= MaxBridgedGap;
        const auto rounds = static_cast<size_t>(BenchRounds());
        std::vector<Refresh> our(rounds), ref(rounds);
        std::vector<double> ratios, ourSeconds, refSeconds;
        for (int round = 0; round < BenchRounds(); ++round) {
            const bool reverse = round % 2 != 0;
            const auto k = static_cast<size_t>(round);
            if (reverse) ref[k] = measure(sim, reference);
            our[k] = measure(sim, ours);
            if (!reverse) ref[k] = measure(sim, reference);
            const std::string where = std::string(list.name) + ", round " + std::to_string(round + 1) + ": ";
            if (shortGaps && our[k].requests != ref[k].requests)
                FailBench(where + std::to_string(our[k].requests) + " requests where the list allows " +
                          std::to_string(ref[k].requests));
            if (our[k].lineSeconds > ref[k].lineSeconds * (1 + 1e-9))
                FailBench(where + std::to_string(our[k].lineSeconds) +
                          " s of line time where the fewest requests take " +
                          std::to_string(ref[k].lineSeconds));
            ratios.push_back(our[k].seconds / ref[k].seconds);
            ourSeconds.push_back(our[k].seconds);
            refSeconds.push_back(ref[k].seconds);
        }
        std::printf("%s, %d registers: %zu requests per refresh (fewest the list allows: %zu); at %d Bd %.3f s "
                    "of line time (fewest requests: %.3f s); on the pseudo-terminal %.2f ms (fewest requests: "
                    "%.2f ms, medians)\n",
                    list.name, Watched, our[0].requests, ref[0].requests, LineBaud, our[0].lineSeconds,
                    ref[0].lineSeconds, Median(ourSeconds) * 1000, Median(refSeconds) * 1000);
        PrintRatio(std::string(list.name) + " refresh time", ratios);
    }
    return 0;
}
