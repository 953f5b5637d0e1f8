// TrasmettiRicevi (function 3, 10 registers) against a libmodbus server, next to libmodbus's own client
// against the same server, over TCP on 127.0.0.1 and over joined pseudo-terminals. Prints both rates and
// their ratio (ours / libmodbus) for each link.
#include <benchmark/benchmark.h>
#include <modbus/modbus.h>

#include <cstdio>
#include <map>
#include <memory>

#include "comm/transaction.h"
#include "support/libmodbus_server.h"
#include "support/pty_bridge.h"
#include "support/sim_session.h"

namespace {

const std::vector<uint8_t> Read10{10, 3, 0, 0, 0, 10};

struct Peers {
    LibmodbusServer tcpServer;
    uint16_t tcpPort = tcpServer.startTcp();
    PtyBridge bridge;
    LibmodbusServer rtuServer;
    Peers() { rtuServer.startRtu(bridge.pathB(), 115200); }
};

Peers& peers() {
    static Peers p;
    return p;
}

void runOurs(benchmark::State& state, SimSession& s) {
    for (auto _ : state) {
        s.request(Read10);
        if (TrasmettiRicevi(s.app, 0) != ComOk) state.SkipWithError("transaction failed");
    }
    state.SetItemsProcessed(state.iterations());
    s.link.close();
}

void runLibmodbus(benchmark::State& state, modbus_t* ctx) {
    uint16_t regs[10];
    modbus_set_slave(ctx, 10);
    if (modbus_connect(ctx) != 0) state.SkipWithError("libmodbus connect failed");
    for (auto _ : state)
        if (modbus_read_registers(ctx, 0, 10, regs) != 10) state.SkipWithError("libmodbus read failed");
    state.SetItemsProcessed(state.iterations());
    modbus_close(ctx);
    modbus_free(ctx);
}

void OursTcp(benchmark::State& state) {
    SimSession s;
    if (!s.connectTcp(peers().tcpPort)) state.SkipWithError("connect failed");
    runOurs(state, s);
}

void LibmodbusTcp(benchmark::State& state) {
    runLibmodbus(state, modbus_new_tcp("127.0.0.1", peers().tcpPort));
}

void OursRtu(benchmark::State& state) {
    SimSession s;
    if (!s.connectRtu(peers().bridge.pathA(), "115200")) state.SkipWithError("open failed");
    runOurs(state, s);
}

void LibmodbusRtu(benchmark::State& state) {
    runLibmodbus(state, modbus_new_rtu(peers().bridge.pathA().c_str(), 115200, 'N', 8, 1));
}

BENCHMARK(OursTcp)->MinTime(2.0)->UseRealTime();
BENCHMARK(LibmodbusTcp)->MinTime(2.0)->UseRealTime();
BENCHMARK(OursRtu)->MinTime(2.0)->UseRealTime();
BENCHMARK(LibmodbusRtu)->MinTime(2.0)->UseRealTime();

// Keeps each run's rate so the ratios can be printed after the table.
class RateReporter : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> rate;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            const auto it = r.counters.find("items_per_second");
            if (it != r.counters.end()) rate[r.benchmark_name()] = it->second;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RateReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char* link : {"Tcp", "Rtu"}) {
        const double ours = reporter.rate["Ours" + std::string(link) + "/min_time:2.000/real_time"];
        const double theirs = reporter.rate["Libmodbus" + std::string(link) + "/min_time:2.000/real_time"];
        if (ours > 0 && theirs > 0)
            std::printf("%s: TrasmettiRicevi %.0f/s, libmodbus %.0f/s, ratio %.2f\n", link, ours, theirs,
                        ours / theirs);
    }
    benchmark::Shutdown();
    return 0;
}
