// TrasmettiRicevi (function 3, 10 registers) against a libmodbus server, next to libmodbus's own client
// against the same server, over TCP on 127.0.0.1 and over joined pseudo-terminals. Rounds interleave the
// two clients, alternating which goes first; every answer is checked against the server's register
// pattern, and a failed or wrong answer ends the run with exit code 1. Prints per link the rates, the
// ratios ours/reference (min/median/max over the rounds) of rate and CPU per request, and the user CPU
// per request of each.
// Over the pseudo-terminal our master keeps the RTU frame gap before every request; libmodbus has no such
// option, so the reference there is libmodbus's client waiting the same gap after each answer ("libmodbus +
// frame gap"). libmodbus without the gap runs in the same rounds and is printed for information. The
// silence before each of our requests, from the last byte of the answer before it, is timed twice: on the
// line by the bridge between the pseudo-terminals, and where our master sends by a link passed through;
// one shorter than 3.5 characters by either ends the run with exit code 1.
#include <modbus/modbus.h>
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "bench_stats.h"
#include "comm/link.h"
#include "comm/modbus_frame.h"
#include "comm/transaction.h"
#include "support/libmodbus_server.h"
#include "support/pty_bridge.h"
#include "support/sim_session.h"

namespace {

constexpr int Registers = 10;
constexpr uint8_t Node = 10;
constexpr int PtyBaud = 115200;

// The round trips depend on three threads waking each other, so a round's ratio scatters; more rounds
// than the other benchmarks' steady the median.
int linkRounds() {
    return FullOrShort(11, 1);
}

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

// A point on the monotonic clock, which steady_clock and our master's pump read too.
struct LineClock {
    timespec lastAnswer{}; // when the last answer arrived; zero before the first
};

// Sleeps until gapUs have passed since the last answer arrived, to the clock's precision.
void awaitGap(const LineClock& clock, int64_t gapUs) {
    if (gapUs <= 0 || (clock.lastAnswer.tv_sec == 0 && clock.lastAnswer.tv_nsec == 0)) return;
    const int64_t ns = clock.lastAnswer.tv_nsec + gapUs * 1000;
    const timespec until{clock.lastAnswer.tv_sec + static_cast<time_t>(ns / 1000000000),
                         static_cast<long>(ns % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

void theirsOnce(modbus_t* ctx, LineClock& clock, int64_t gapUs) {
    awaitGap(clock, gapUs);
    uint16_t regs[Registers] = {};
    if (modbus_read_registers(ctx, 0, Registers, regs) != Registers) FailBench("libmodbus read failed");
    clock_gettime(CLOCK_MONOTONIC, &clock.lastAnswer);
    for (int i = 0; i < Registers; ++i)
        if (regs[i] != patternValue(i)) FailBench("libmodbus: register " + std::to_string(i) + " wrong");
}

// One client's side of a round: opens its link, runs the requests, closes it (the server takes one client
// at a time, so each side has the link to itself while it is timed).
struct Client {
    std::string name;
    std::function<void()> open, once, close;
};

Sample block(const Client& c, int requests) {
    c.open();
    const Sample s = timed(requests, c.once);
    c.close();
    return s;
}

// The clients of one link: ours, the reference doing the same work, and optionally one shown for
// information only (its figures enter no ratio).
struct Clients {
    Client ours, reference;
    std::optional<Client> info;
};

void compare(const char* link, int requests, const Clients& c) {
    for (const Client* warm : {&c.ours, &c.reference, c.info ? &*c.info : nullptr})
        if (warm) block(*warm, requests / 10); // warm-up, not counted
    const int rounds = linkRounds();
    std::vector<double> rateRatio, cpuRatio, oursRate, theirRate, infoRate;
    double oursUser = 0, theirUser = 0;
    for (int round = 0; round < rounds; ++round) {
        Sample a, b;
        if (round % 2 == 0) {
            a = block(c.ours, requests);
            b = block(c.reference, requests);
        } else {
            b = block(c.reference, requests);
            a = block(c.ours, requests);
        }
        if (c.info) infoRate.push_back(block(*c.info, requests).rate);
        oursRate.push_back(a.rate);
        theirRate.push_back(b.rate);
        rateRatio.push_back(a.rate / b.rate);
        cpuRatio.push_back(a.cpuPerReq / b.cpuPerReq);
        oursUser += a.userPerReq;
        theirUser += b.userPerReq;
    }
    const char* ref = c.reference.name.c_str();
    std::printf("%s: %d rounds of %d requests, ours %.0f/s, %s %.0f/s (medians)\n", link, rounds, requests,
                Median(oursRate), ref, Median(theirRate));
    if (c.info)
        std::printf("%s, for information: %s %.0f/s (median)\n", link, c.info->name.c_str(), Median(infoRate));
    const std::string against = std::string(" against ") + ref;
    PrintRatio(std::string(link) + " transactions/s" + against, rateRatio);
    PrintRatio(std::string(link) + " CPU/request" + against, cpuRatio);
    // A round holds too few clock-tick samples for a ratio of its own; all rounds together do.
    std::printf("%s user CPU/request, all rounds: ours %.2f us, %s %.2f us", link, oursUser / rounds * 1e6, ref,
                theirUser / rounds * 1e6);
    // A short run can end before the clock tick sampled the reference at all.
    if (theirUser > 0)
        std::printf(", ours/reference %.2f\n", oursUser / theirUser);
    else
        std::printf(", too few samples for a ratio\n");
}

Client oursOver(SimSession& s, const std::function<bool()>& connect) {
    return {"ours",
            [&s, connect] {
                if (!connect()) FailBench("our link did not open");
            },
            [&s] { oursOnce(s); }, [&s] { Disconnetti(s.app); }};
}

// libmodbus's client; with gapUs, each request waits until that long has passed since the last answer.
Client theirsOver(const std::function<modbus_t*()>& make, int64_t gapUs = 0) {
    auto ctx = std::make_shared<modbus_t*>(nullptr);
    auto clock = std::make_shared<LineClock>();
    return {gapUs > 0 ? "libmodbus + frame gap" : "libmodbus",
            [ctx, clock, make] {
                *ctx = make();
                *clock = {};
                if (!*ctx || modbus_set_slave(*ctx, Node) != 0 || modbus_connect(*ctx) != 0)
                    FailBench("libmodbus connect");
            },
            [ctx, clock, gapUs] { theirsOnce(*ctx, *clock, gapUs); },
            [ctx] {
                modbus_close(*ctx);
                modbus_free(*ctx);
            }};
}

int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return int64_t{now.tv_sec} * 1000000000 + now.tv_nsec;
}

// The shortest of the silences before our requests, by one measure.
struct Shortest {
    const char* where;
    int64_t ns = 0;
    int count = 0;
    void add(int64_t gapNs) { ns = count++ == 0 ? gapNs : std::min(ns, gapNs); }
};

// The silence before each of our requests on the pseudo-terminal, by two measures. On the line, as the
// bridge saw it: from the chunk that held the last byte of the answer to the chunk that holds the first
// byte of the next request; the bridge reads its clock before it writes an answer on and after it read a
// request, so this is never shorter than the silence on the line, and it catches bytes our master did not
// take notice of. Where our master sends: from the moment its link told it the last bytes arrived to its
// call that hands over the request; this leaves out the bridge's wake-ups and our master's wake-up to the
// answer, so a wait cut short by more than how late our master wakes from its sleep shows in nearly every
// request. The first request after the link opened has no answer before it. Chunks arrive on the bridge's
// thread; ours opens, sends and closes on this one.
class GapWatch {
  public:
    void observe(const PtyChunk& chunk) {
        const std::lock_guard lock(mutex_);
        if (!watching_) return;
        if (!chunk.fromA) {
            answerEndNs_ = chunk.monotonicNs;
            inRequest_ = false;
            return;
        }
        if (answerEndNs_ != 0 && !inRequest_) line_.add(chunk.monotonicNs - answerEndNs_);
        inRequest_ = true;
    }
    void sent(int64_t gapNs) {
        const std::lock_guard lock(mutex_);
        master_.add(gapNs);
    }
    void watch(bool on) {
        const std::lock_guard lock(mutex_);
        watching_ = on;
        opened_ = opened_ || on;
        answerEndNs_ = 0;
    }
    // Fails when a silence was shorter than the frame gap. Our master times it on a clock of whole
    // microseconds, so its silence may fall short of the exact gap by less than one.
    void verify() {
        const std::lock_guard lock(mutex_);
        if (!opened_) return; // ours did not run
        const int64_t gapNs = RtuFrameGapUs(PtyBaud) * 1000;
        if (line_.count == 0 || master_.count == 0) FailBench("pty: no request of ours followed an answer");
        std::printf(
            "pty: silence before our requests, %d timed: shortest %.3f ms where the master sends, %.3f ms "
            "on the line (frame gap %.3f ms)\n",
            master_.count, master_.ns / 1e6, line_.ns / 1e6, gapNs / 1e6);
        for (const Shortest* s : {&master_, &line_})
            if (s->ns < gapNs - 1000)
                FailBench(std::string("pty: our request came ") + std::to_string(s->ns / 1000) +
                          " us after the answer " + s->where + ", within the frame gap of " +
                          std::to_string(gapNs / 1000) + " us");
    }

  private:
    std::mutex mutex_;
    bool watching_ = false, opened_ = false, inRequest_ = false;
    int64_t answerEndNs_ = 0; // 0: no answer since ours opened
    Shortest line_{"on the line"}, master_{"where the master sends"};
};

// Our master's link, passed through, noting when the link told of arriving bytes and timing from the last
// of them each request handed over.
class SendSideLink : public LinkPort {
  public:
    SendSideLink(LinkPort& inner, GapWatch& gaps) : inner_(inner), gaps_(gaps) {
        inner_.onBytesReceived = [this] {
            lastArrivalNs_ = monotonicNs();
            if (onBytesReceived) onBytesReceived();
        };
        inner_.onInputDropped = [this](size_t count) {
            if (onInputDropped) onInputDropped(count);
        };
        inner_.onLinkLost = [this](const std::string& reason) {
            if (onLinkLost) onLinkLost(reason);
        };
    }
    bool openSerial(const std::string& device, const std::string& settings, bool rtsHandshake) override {
        lastArrivalNs_ = 0;
        return inner_.openSerial(device, settings, rtsHandshake);
    }
    void connectTcp(const std::string& host, uint16_t port) override { inner_.connectTcp(host, port); }
    void close() override { inner_.close(); }
    bool isSerial() const override { return inner_.isSerial(); }
    bool isConnected() const override { return inner_.isConnected(); }
    bool failed() const override { return inner_.failed(); }
    bool write(const std::string& bytes) override {
        if (lastArrivalNs_ != 0) gaps_.sent(monotonicNs() - lastArrivalNs_);
        lastArrivalNs_ = 0;
        return inner_.write(bytes);
    }
    std::string readAll() override { return inner_.readAll(); }
    void discardInput() override { inner_.discardInput(); }
    std::string error() const override { return inner_.error(); }
    bool waitForBytes(int64_t timeoutUs) override { return inner_.waitForBytes(timeoutUs); }

  private:
    LinkPort& inner_;
    GapWatch& gaps_;
    int64_t lastArrivalNs_ = 0; // 0: nothing arrived since the last request
};

using Run = std::function<void(const char* link, int requests, const Clients& clients)>;

void overTcp(const Run& run) {
    LibmodbusServer server(Node);
    const uint16_t port = server.startTcp();
    fillPattern(server);
    SimSession s;
    run("TCP", FullOrShort(20000, 200),
        {oursOver(s, [&] { return s.connectTcp(port); }),
         theirsOver([port] { return modbus_new_tcp("127.0.0.1", port); }), std::nullopt});
}

void overPty(const Run& run) {
    GapWatch gaps;
    PtyBridge bridge([&gaps](const PtyChunk& chunk) { gaps.observe(chunk); });
    LibmodbusServer server(Node);
    server.startRtu(bridge.pathB(), PtyBaud);
    fillPattern(server);
    SimSession s;
    SendSideLink timedLink(s.link, gaps);
    s.app.link = &timedLink;
    s.comm->AnswerTimeout = 1;
    const std::string path = bridge.pathA();
    const auto rtu = [path] { return modbus_new_rtu(path.c_str(), PtyBaud, 'N', 8, 1); };
    Client ours = oursOver(s, [&] { return s.connectRtu(path, std::to_string(PtyBaud)); });
    ours.open = [open = ours.open, &gaps] {
        gaps.watch(true);
        open();
    };
    ours.close = [close = ours.close, &gaps] {
        gaps.watch(false);
        close();
    };
    // Each request waits out the frame gap, 1.75 ms at this speed: that bounds either client to about
    // 500 requests per second.
    run("pty", FullOrShort(1000, 50), {ours, theirsOver(rtu, RtuFrameGapUs(PtyBaud)), theirsOver(rtu)});
    gaps.verify();
}

} // namespace

// No arguments: the comparison. "tcp|pty ours|libmodbus N": N requests of one client alone, for a profiler
// (libmodbus being the reference: over the pseudo-terminal, the one that keeps the frame gap).
int main(int argc, char** argv) {
    ReadBenchMode(argc, argv);
    QtTestApp();
    if (argc == 4) {
        const std::string side = argv[2];
        const int requests = std::atoi(argv[3]);
        if ((side != "ours" && side != "libmodbus") || requests <= 0) FailBench("usage: tcp|pty ours|libmodbus N");
        const Run one = [&](const char*, int, const Clients& c) {
            block(side == "ours" ? c.ours : c.reference, requests);
        };
        std::string(argv[1]) == "pty" ? overPty(one) : overTcp(one);
        return 0;
    }
    overTcp(compare);
    overPty(compare);
    return 0;
}
