// TrasmettiRicevi (function 3, 10 registers) against a libmodbus server, next to libmodbus's own client
// against the same server, over TCP on 127.0.0.1 and over joined pseudo-terminals. LinkRounds interleave the
// two clients, alternating which goes first; every answer is checked against the server's register
// pattern, and a failed or wrong answer ends the run with exit code 1. Prints per link the rates, the
// ratios ours/reference (min/median/max over the rounds) of rate and CPU per request, and the user CPU
// per request of each.
#include <modbus/modbus.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "comm/link.h"
#include "comm/transaction.h"
#include "support/libmodbus_server.h"
#include "support/pty_bridge.h"
#include "support/sim_session.h"

namespace {

constexpr int Registers = 10;
// The round trips depend on three threads waking each other, so a round's ratio scatters; more rounds
// than the other benchmarks' steady the median.
constexpr int LinkRounds = 2 * BenchRounds - 3;
constexpr uint8_t Node = 10;

uint16_t patternValue(int i) { return static_cast<uint16_t>(0xA500 + 37 * i); }

void fillPattern(LibmodbusServer& server) {
    for (int i = 0; i < Registers; ++i) server.holding()[i] = patternValue(i);
}

// The clients run on this thread, the servers on their own. The user time is sampled at the clock tick;
// the thread's whole CPU time (user and system) is counted exactly.
double userSeconds() {
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec) + double(u.ru_utime.tv_usec) / 1e6;
}

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Sample {
    double rate = 0;      // requests per second
    double userPerReq = 0; // user seconds per request
    double cpuPerReq = 0;  // user and system seconds per request
};

Sample timed(int requests, const std::function<void()>& one) {
    const double user0 = userSeconds();
    const double cpu0 = threadSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < requests; ++i) one();
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - t0;
    return {requests / wall.count(), (userSeconds() - user0) / requests, (threadSeconds() - cpu0) / requests};
}

void oursOnce(SimSession& s) {
    s.request({Node, 3, 0, 0, 0, Registers});
    if (TrasmettiRicevi(s.app, 0) != ComOk) FailBench("TrasmettiRicevi did not succeed");
    if (s.comm->RxLength < 3 + 2 * Registers || s.comm->RxBuffer[2] != 2 * Registers)
        FailBench("TrasmettiRicevi: short answer");
    for (int i = 0; i < Registers; ++i) {
        const int v = s.comm->RxBuffer[3 + 2 * i] * 256 + s.comm->RxBuffer[4 + 2 * i];
        if (v != patternValue(i)) FailBench("TrasmettiRicevi: register " + std::to_string(i) + " wrong");
    }
}

void theirsOnce(modbus_t* ctx) {
    uint16_t regs[Registers] = {};
    if (modbus_read_registers(ctx, 0, Registers, regs) != Registers) FailBench("libmodbus read failed");
    for (int i = 0; i < Registers; ++i)
        if (regs[i] != patternValue(i)) FailBench("libmodbus: register " + std::to_string(i) + " wrong");
}

// One client's side of a round: opens its link, runs the requests, closes it (the server takes one client
// at a time, so each side has the link to itself while it is timed).
struct Client {
    std::function<void()> open, once, close;
};

Sample block(const Client& c, int requests) {
    c.open();
    const Sample s = timed(requests, c.once);
    c.close();
    return s;
}

void compare(const char* link, int requests, const Client& ours, const Client& theirs) {
    block(ours, requests / 10); // warm-up, not counted
    block(theirs, requests / 10);
    std::vector<double> rateRatio, cpuRatio, oursRate, theirRate;
    double oursUser = 0, theirUser = 0;
    for (int round = 0; round < LinkRounds; ++round) {
        Sample a, b;
        if (round % 2 == 0) {
            a = block(ours, requests);
            b = block(theirs, requests);
        } else {
            b = block(theirs, requests);
            a = block(ours, requests);
        }
        oursRate.push_back(a.rate);
        theirRate.push_back(b.rate);
        rateRatio.push_back(a.rate / b.rate);
        cpuRatio.push_back(a.cpuPerReq / b.cpuPerReq);
        oursUser += a.userPerReq;
        theirUser += b.userPerReq;
    }
    std::printf("%s: %d rounds of %d requests, ours %.0f/s, libmodbus %.0f/s (medians)\n", link, LinkRounds,
                requests, Median(oursRate), Median(theirRate));
    PrintRatio(std::string(link) + " transactions/s", rateRatio);
    PrintRatio(std::string(link) + " CPU/request", cpuRatio);
    // A round holds too few clock-tick samples for a ratio of its own; all rounds together do.
    std::printf("%s user CPU/request, all rounds: ours %.2f us, libmodbus %.2f us, ours/reference %.2f\n", link,
                oursUser / LinkRounds * 1e6, theirUser / LinkRounds * 1e6, oursUser / theirUser);
}

Client oursOver(SimSession& s, const std::function<bool()>& connect) {
    return {[&s, connect] {
                if (!connect()) FailBench("our link did not open");
            },
            [&s] { oursOnce(s); }, [&s] { Disconnetti(s.app); }};
}

Client theirsOver(const std::function<modbus_t*()>& make) {
    auto ctx = std::make_shared<modbus_t*>(nullptr);
    return {[ctx, make] {
                *ctx = make();
                if (!*ctx || modbus_set_slave(*ctx, Node) != 0 || modbus_connect(*ctx) != 0)
                    FailBench("libmodbus connect");
            },
            [ctx] { theirsOnce(*ctx); },
            [ctx] {
                modbus_close(*ctx);
                modbus_free(*ctx);
            }};
}

using Run = std::function<void(const char* link, int requests, const Client& ours, const Client& theirs)>;

void overTcp(const Run& run) {
    LibmodbusServer server(Node);
    const uint16_t port = server.startTcp();
    fillPattern(server);
    SimSession s;
    run("TCP", 20000, oursOver(s, [&] { return s.connectTcp(port); }),
        theirsOver([port] { return modbus_new_tcp("127.0.0.1", port); }));
}

void overPty(const Run& run) {
    PtyBridge bridge;
    LibmodbusServer server(Node);
    server.startRtu(bridge.pathB(), 115200);
    fillPattern(server);
    SimSession s;
    s.comm->AnswerTimeout = 1;
    const std::string path = bridge.pathA();
    run("pty", 10000, oursOver(s, [&] { return s.connectRtu(path, "115200"); }),
        theirsOver([path] { return modbus_new_rtu(path.c_str(), 115200, 'N', 8, 1); }));
}

} // namespace

// No arguments: the comparison. "tcp|pty ours|libmodbus N": N requests of one client alone, for a profiler.
int main(int argc, char** argv) {
    QtTestApp();
    if (argc == 4) {
        const std::string side = argv[2];
        const int requests = std::atoi(argv[3]);
        if ((side != "ours" && side != "libmodbus") || requests <= 0) FailBench("usage: tcp|pty ours|libmodbus N");
        const Run one = [&](const char*, int, const Client& ours, const Client& theirs) {
            block(side == "ours" ? ours : theirs, requests);
        };
        std::string(argv[1]) == "pty" ? overPty(one) : overTcp(one);
        return 0;
    }
    overTcp(compare);
    overPty(compare);
    return 0;
}
