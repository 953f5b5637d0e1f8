#include <gtest/gtest.h>

#include "core/log.h"
#include "app_context_fixture.h"
#include "factorytest/instruments/bench_instruments.h"
#include "factorytest/instruments/collaudo.h"
#include "support/fake_serial_port.h"

namespace {

struct Bench {
    Bench() {
        for (InstrumentPort* p : {&ports.Seriale_switch, &ports.Seriale_mult, &ports.Seriale_alim, &ports.Seriale_calib})
            p->Number = p->Number ? p->Number : 9, p->open(ports.Devices);
    }
    FakeSerialPort relay, mult, supply, calib;
    InstrumentPorts ports{relay, mult, supply, calib};
    TestPump pump;
    FakeDialogs dialogs;
    Log log;
    BenchInstruments in{ports, pump, dialogs, log};
};

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int v : b)
        s += static_cast<char>(v);
    return s;
}

// The calibrator echoes every byte, except the data of a command-1 frame: the temperature 23.45.
std::string calibratorEcho(const std::string& b, int& pos, uint8_t& command) {
    std::string out;
    for (char c : b) {
        if (pos == 1) command = static_cast<uint8_t>(c);
        out += command == 1 && pos >= 2 && pos <= 5 ? static_cast<char>(std::array{0, 0, 9, 41}[pos - 2]) : c;
        pos = (pos + 1) % 7;
    }
    return out;
}

TEST(Instruments, SendExactlyTheirCommands) {
    struct Case {
        const char* what;
        std::function<void(BenchInstruments&)> act;
        FakeSerialPort Bench::*port;
        std::string sent;
        double paused;
    };
    const std::vector<Case> cases{
        {"close 1-05", [](auto& in) { in.Rele(1, 5, true); }, &Bench::relay, "rout:close (@105)\r\n", 0},
        {"open 2-13", [](auto& in) { in.Rele(2, 13, false); }, &Bench::relay, "rout:open (@213)\r\n", 0},
        {"supply on", [](auto& in) { in.SetAlim(true, "24.00"); }, &Bench::supply, "SV 24.00\rKOE\r", 1.5},
        {"supply off", [](auto& in) { in.spegni_alim(); }, &Bench::supply, "SV 24.00\rKOD\r", 1.5},
        {"remote, current", [](auto& in) { in.Conf_Mult("REM", "CURR"); }, &Bench::mult,
         ":SYST:REM\r\n:CONF:CURR:DC\r\n", 1},
        {"local only", [](auto& in) { in.Conf_Mult("LOC", "VOLT"); }, &Bench::mult, ":SYST:LOC\r\n", 0.5},
        {"beep", [](auto& in) { in.Beep(); }, &Bench::mult, "SYST:BEEP\r\n", 0},
        {"value 1000", [](auto& in) { EXPECT_TRUE(in.PutCalVal(1000)); }, &Bench::calib,
         bytes({1, 129, 0, 0, 3, 232, 107}), 0},
        {"reference temperature",
         [](auto& in) { EXPECT_FLOAT_EQ(static_cast<float>(in.GetTamb().value()), 23.45f); }, &Bench::calib,
         bytes({1, 130, 1, 0, 0, 0, 1, 1, 128, 8, 1, 1, 0, 10, 1, 128, 8, 1, 0, 0, 9, 1, 128, 8, 1, 0, 192, 73,
                1, 1, 8, 1, 0, 192, 73, 1, 130, 0, 0, 0, 0, 0}),
         1},
    };
    for (const Case& c : cases) {
        Bench b;
        int pos = 0;
        uint8_t command = 0;
        b.calib.respond = [&](const std::string& s) { return calibratorEcho(s, pos, command); };
        c.act(b.in);
        EXPECT_EQ((b.*c.port).written, c.sent) << c.what;
        EXPECT_DOUBLE_EQ(b.pump.paused, c.paused) << c.what;
    }
}

TEST(Instruments, RelayUnitOnAClosedPortSendsNothing) {
    Bench b;
    b.ports.Seriale_switch.close();
    b.in.Rele(1, 5, true);
    EXPECT_EQ(b.relay.written, "");
}

TEST(Instruments, ReadingsInMilliUnitsOrNothing) {
    struct Case {
        std::string reply;
        std::optional<double> milli;
    };
    for (const Case& c : std::vector<Case>{{"+1.450000E+01\r\n", 14500},
                                           {"3.5E-05\r\n", 0.035},
                                           {"-2.0E-07\r\n", 0},
                                           {"", std::nullopt},          // silent: bounded wait, then nothing
                                           {"+1.45", std::nullopt},     // no line end
                                           {"OVLD\r\n", std::nullopt}}) // not a number
    {
        Bench b;
        b.mult.respond = [&](const std::string& s) { return s == ":READ?\r\n" ? c.reply : ""; };
        EXPECT_EQ(b.in.GetMult(), c.milli) << c.reply;
        EXPECT_EQ(b.log.lines().empty(), c.milli.has_value()) << c.reply;
    }
}

TEST(Instruments, SilentCalibratorFailsTheFrame) {
    Bench b;
    EXPECT_EQ(b.in.GetTamb(), std::nullopt);
    EXPECT_EQ(b.calib.written, bytes({1})); // gave up after the first unanswered byte
    EXPECT_EQ(b.log.lines().back(), "No answer from the calibrator (COM9)  ");
}

TEST(Instruments, SupplyCurrentFromItsReply) {
    for (const auto& [reply, ma] : std::vector<std::pair<std::string, double>>{{"A0.123A\r", 123}, {"A0.1\r", -1}}) {
        Bench b;
        b.supply.respond = [&](const std::string&) { return reply; };
        EXPECT_DOUBLE_EQ(b.in.ReadAlimCurr(), ma) << reply;
    }
}

TEST(Instruments, CalibratorPromptNamesTheUnit) {
    EXPECT_EQ(CalibratorPrompt(1, 100), "Impostare calibratore 100  mV");
    EXPECT_EQ(CalibratorPrompt(12, 299.5), "Impostare calibratore 299.5  Ohm");
    EXPECT_EQ(CalibratorPrompt(7, 5), "Impostare calibratore 5 ");
    EXPECT_EQ(CalibratorPrompt(5, static_cast<float>(23.45)), "Impostare calibratore 23.45  \xB0" "C TcK");
    EXPECT_EQ(CalibratorPrompt(3, 20000), "Impostare calibratore 20000  mA");
}

TEST(Collaudo, ManualReadingAsksUntilANumberAndCancelFails) {
    Bench b;
    CollaudoPorts ports{b.ports.Seriale_mult, b.ports.Seriale_alim};
    b.dialogs.inputs = {"abc", "1,5", "1.5"};
    EXPECT_EQ(LeggiMultimetro("MANUALE", ports, b.pump, b.dialogs, 50), 1500);
    EXPECT_TRUE(b.dialogs.inputs.empty());
    b.dialogs.inputs = {"x", std::nullopt};
    EXPECT_EQ(LeggiMultimetro("MANUALE", ports, b.pump, b.dialogs, 50), std::nullopt);
    EXPECT_EQ(LeggiMultimetro("USB0", ports, b.pump, b.dialogs, 50), std::nullopt); // no I/O instrument
    b.mult.respond = [](const std::string&) { return std::string("+2.5E+00\r\n"); };
    EXPECT_EQ(LeggiMultimetro("COM4", ports, b.pump, b.dialogs, 50), 2500);
    ImpostaAlimentatore("MANUALE", b.ports.Seriale_alim, true, "12.00", b.pump, b.dialogs);
    EXPECT_EQ(b.dialogs.shown.back(), "Alim = ON, 12.00 Volt");
}

TEST(InstrumentPorts, ComNumbersMapToDevices) {
    const ComDevices d = ParseComDevices("3=/dev/pts/4,x=/dev/a,7=/dev/pts/6,9=");
    EXPECT_EQ(d, (ComDevices{{3, "/dev/pts/4"}, {7, "/dev/pts/6"}}));
    EXPECT_EQ(ComDevice(d, 7), "/dev/pts/6");
    EXPECT_EQ(ComDevice(d, 1).substr(0, 8), "/dev/tty");
}

} // namespace
