// Each instrument driver over a real serial port: a pseudo-terminal with the instrument behind it.
#include <gtest/gtest.h>

#include <chrono>
#include <mutex>
#include <thread>

#include "core/log.h"
#include "bench_world.h"
#include "factorytest/instruments/bench_instruments.h"
#include "platform/qt_link_port.h"
#include "support/fake_dialogs.h"
#include "support/pty_instrument.h"
#include "support/qt_test_app.h"

namespace {

struct PtyBench {
    PtyBench() {
        QtTestApp();
        ports.Devices = {{5, relay.path()}, {3, mult.path()}, {4, supply.path()}, {9, calib.path()}};
        ports.Seriale_calib.Number = 9;
        for (InstrumentPort* p : {&ports.Seriale_switch, &ports.Seriale_mult, &ports.Seriale_alim, &ports.Seriale_calib})
            EXPECT_TRUE(p->open(ports.Devices)) << p->Name << ": " << p->error();
    }
    std::string heard() {
        std::lock_guard lock(mutex);
        return received;
    }
    std::string record(const std::string& b, std::string reply) {
        std::lock_guard lock(mutex);
        received += b;
        return reply;
    }

    std::mutex mutex;
    std::string received;
    PtyInstrument relay{[this](const std::string& b) { return record(b, ""); }};
    PtyInstrument mult{[this](const std::string& b) { return record(b, b == ":READ?\r\n" ? "+9.87E-03\r\n" : ""); }};
    PtyInstrument supply{[this](const std::string& b) { return record(b, b == "A\r" ? "A1.500A\r" : ""); }};
    // Answers every byte; the data of a command-1 frame carry 21.07 degrees.
    int pos = 0, command = 0; // calibrator thread only
    PtyInstrument calib{[this](const std::string& b) {
        std::string out;
        for (char c : b) {
            if (pos == 1) command = static_cast<uint8_t>(c);
            out += command == 1 && pos >= 2 && pos <= 5 ? static_cast<char>(std::array{0, 0, 8, 59}[pos - 2]) : c;
            pos = (pos + 1) % 7;
        }
        return out;
    }};
    QtLinkPort relayLink, multLink, supplyLink, calibLink;
    InstrumentPorts ports{relayLink, multLink, supplyLink, calibLink};
    VirtualClockPump pump; // the instruments' pauses pass at once, their answers come in real time
    FakeDialogs dialogs;
    Log log;
    BenchInstruments in{ports, pump, dialogs, log};
};

TEST(InstrumentsOverPty, EachDriverRoundTrip) {
    PtyBench b;
    b.in.Rele(1, 5, true);
    // The relay unit does not answer: look until its command has crossed.
    for (int i = 0; i < 2000 && b.heard().size() < 19; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(b.heard(), "rout:close (@105)\r\n");
    EXPECT_EQ(b.in.GetMult(), 9.87);
    EXPECT_EQ(b.in.ReadAlimCurr(), 1500);
    CalibratorFrame frame = MakeCalibratorFrame(1, 8, 1, 0, 192);
    EXPECT_TRUE(b.in.PutCal200(frame));
    EXPECT_EQ(frame, (CalibratorFrame{1, 1, 0, 0, 8, 59, 73})); // data answered with 21.07 degrees
    EXPECT_TRUE(b.log.lines().empty());
}

} // namespace
