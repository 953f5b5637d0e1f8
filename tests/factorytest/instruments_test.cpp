#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <thread>

#include "app_context_fixture.h"
#include "core/log.h"
#include "factorytest/instruments/bench_instruments.h"
#include "factorytest/instruments/collaudo.h"
#include "support/pty_bridge.h"
#include "support/pty_instrument.h"
#include "worlds.h"

namespace {

// The instruments as fake ports; the calibrator is the bench world's (reference temperature 23.45).
struct Bench {
    Bench() {
        calib.respond = [this](const std::string& b) { return world.calibrator(b); };
        for (InstrumentPort* p :
             {&ports.Seriale_switch, &ports.Seriale_mult, &ports.Seriale_alim, &ports.Seriale_calib})
            p->Number = p->Number ? p->Number : 9, p->open(ports.Devices);
    }
    AnalogWorld world{0};
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

TEST(Instruments, SendExactlyTheirCommands) {
    struct Case {
        const char* what;
        std::function<void(Bench&)> act;
        FakeSerialPort Bench::*port;
        std::string sent;
        double paused;
    };
    const std::vector<Case> cases{
        {"close 1-05", [](Bench& b) { b.in.Rele(1, 5, true); }, &Bench::relay, "rout:close (@105)\r\n", 0},
        {"open 2-13", [](Bench& b) { b.in.Rele(2, 13, false); }, &Bench::relay, "rout:open (@213)\r\n", 0},
        {"relay port closed",
         [](Bench& b) {
             b.ports.Seriale_switch.close();
             b.in.Rele(1, 5, true);
         },
         &Bench::relay, "", 0},
        {"supply on", [](Bench& b) { b.in.SetAlim(true, "24.00"); }, &Bench::supply, "SV 24.00\rKOE\r", 1.5},
        {"supply off", [](Bench& b) { b.in.spegni_alim(); }, &Bench::supply, "SV 24.00\rKOD\r", 1.5},
        {"remote, current", [](Bench& b) { b.in.Conf_Mult("REM", "CURR"); }, &Bench::mult,
         ":SYST:REM\r\n:CONF:CURR:DC\r\n", 1},
        {"local only", [](Bench& b) { b.in.Conf_Mult("LOC", "VOLT"); }, &Bench::mult, ":SYST:LOC\r\n", 0.5},
        {"beep", [](Bench& b) { b.in.Beep(); }, &Bench::mult, "SYST:BEEP\r\n", 0},
        {"value 1000", [](Bench& b) { EXPECT_TRUE(b.in.PutCalVal(1000)); }, &Bench::calib,
         bytes({1, 129, 0, 0, 3, 232, 107}), 0},
        {"reference temperature", [](Bench& b) { EXPECT_EQ(b.in.GetTamb(), 23.45); }, &Bench::calib,
         bytes({1, 130, 1, 0, 0, 0,   1,  1, 128, 8, 1, 1, 0,   10, 1, 128, 8, 1, 0, 0, 9,
                1, 128, 8, 1, 0, 192, 73, 1, 1,   8, 1, 0, 192, 73, 1, 130, 0, 0, 0, 0, 0}),
         1},
    };
    for (const Case& c : cases) {
        Bench b;
        c.act(b);
        EXPECT_EQ((b.*c.port).written, c.sent) << c.what;
        EXPECT_DOUBLE_EQ(b.pump.paused, c.paused) << c.what;
    }
}

TEST(Instruments, ReadingsInMilliUnitsOrNothing) {
    // A line passed over as the possible rest of the text that waited, or as the head (line empty) or the
    // rest of a line that a lone CR or LF cut after the text, and whether the meter was then asked again.
    struct PassedOver {
        std::string waited, line;
        bool askedAgain;
        const char* cut = nullptr; // "CR" or "LF": waited is the text it cut
        bool known = true;         // the meter's line end, CR LF, was known
    };
    struct Case {
        std::string reply; // to each query; a talking meter sends it after the first query only
        std::optional<double> milli;
        std::string before = {};             // sent on its own before the read, waiting then
        std::vector<PassedOver> passed = {}; // logged, in order
        std::string arriving = {};           // then coming, a byte in each wait
        bool talks = false;
        std::string first = {}; // the answer to the first query instead, when given
    };
    const std::string longLine = std::string(MaxReplyBytes, ' ') + "1\r\n";
    for (const Case& c : std::vector<
             Case>{{"+1.450000E+01\r\n", 14500},
                   {"3.5E-05\r\n", 0.035},
                   {"-2.0E-07\r\n", -0.0002}, // as read: no rounding
                   {"1.5\r\n", 1500},         // the first line
                   {"5\r\n2.5\r\n", 5000},    // the first whole line
                   // after the echo of a converter
                   {":READ?\r\n+1.450000E+01\r\n", 14500},
                   // the tail of a line still arriving when the query went, and no more: passed over,
                   // and the next line (begun by the text after it) never ends
                   {"1\r\n", std::nullopt, "+1.456789E", {{"+1.456789E", "1", true}}, "+0", true},
                   // a stray byte on the idle line begins no line, before the query or after it; within
                   // a line it ends none
                   {"+1.450000E+01\r\n", 14500, "\xFF"},
                   {"+1.450000E+01\r\n", 14500, std::string(1, '\0')},
                   {"\xFF+1.450000E+01\r\n", 14500},
                   {"1\r\n", std::nullopt, "\xFF+1.456789E\xFF", {{"+1.456789E", "1", true}}, "+0", true},
                   // a stray letter, digit, blank, TAB or random bytes on a meter that only answers: blanks
                   // are no line; other text may be, so the answer to the query is passed over and the meter
                   // asked again; also with one more stray after that answer
                   {"+1.450000E+01\r\n", 14500, "k", {{"k", "+1.450000E+01", true}}},
                   {"+1.450000E+01\r\n", 14500, "7", {{"7", "+1.450000E+01", true}}},
                   {"+1.450000E+01\r\n", 14500, " "},
                   {"+1.450000E+01\r\n", 14500, "\t"},
                   {"+1.450000E+01\r\n", 14500, "\xC7\x33\x1Bx\x80", {{"3x", "+1.450000E+01", true}}},
                   {"+1.450000E+01\r\n",
                    14500,
                    "k",
                    {{"k", "+1.450000E+01", true}, {"q", "+1.450000E+01", true}},
                    "q"},
                   // the head of a line of its own that paused before the query: its rest is passed over,
                   // and the next line read; also with a stray before or inside that head
                   {"1\r\n+1.456789E+01\r\n",
                    14567.89,
                    "+1.456789E+0",
                    {{"+1.456789E+0", "1", false}},
                    {},
                    true},
                   {"1\r\n+1.456789E+01\r\n",
                    14567.89,
                    "x+1.456789E+0",
                    {{"x+1.456789E+0", "1", false}},
                    {},
                    true},
                   {"1.456789E+01\r\n-1.456789E+01\r\n",
                    -14567.89,
                    "-+",
                    {{"-+", "1.456789E+01", false}},
                    {},
                    true},
                   // a stray digit or sign before an answer that it would complete: the answer to the next
                   // query
                   {"1.5\r\n", 1500, "7", {{"7", "1.5", true}}},
                   {"-2.5\r\n", -2500, "+", {{"+", "-2.5", true}}},
                   // the head of a line of its own, then a stray CR or LF, the query going out before the
                   // rest of the line: the meter ends its lines CR LF, so the lone one cut the line, and the
                   // rest is passed over, and the next line read; when none follows the meter is asked again
                   {"1\r\n+1.456789E+01\r\n",
                    14567.89,
                    "+1.456789E+0\r",
                    {{"+1.456789E+0", "1", false, "CR"}},
                    {},
                    true},
                   {"9E+01\r\n+1.456789E+01\r\n",
                    14567.89,
                    "+1.45678\n",
                    {{"+1.45678", "9E+01", false, "LF"}},
                    {},
                    true},
                   {".456789E+01\r\n-1.456789E+01\r\n",
                    -14567.89,
                    "-1\r",
                    {{"-1", ".456789E+01", false, "CR"}},
                    {},
                    true},
                   {".56789\r\n14.56789\r\n", 14567.89, "14\n", {{"14", ".56789", false, "LF"}}, {}, true},
                   {"1\r\n", std::nullopt, "+1.456789E+0\r", {{"+1.456789E+0", "1", true, "CR"}}, {}, true},
                   // a whole line ended CR LF before the query cuts nothing: a stray letter so ended, a line
                   // of the meter's own, or one whose LF comes only after the query
                   {"+1.450000E+01\r\n", 14500, "k\r\n"},
                   {"+1.450000E+01\r\n", 14500, "+1.456789E+01\r\n"},
                   {"\n+1.450000E+01\r\n", 14500, "+1.456789E+01\r"},
                   // a stray LF or CR inside the answer of a meter that only answers, the rest coming at once
                   // or later: the head may be a line while the line end is not known, the rest then ends CR
                   // LF and is passed over, and the meter asked again
                   {"+1.230045E+01\r\n",
                    12300.45,
                    {},
                    {{"+1", "", false, "LF", false}, {"+1", ".230045E+01", true, "LF"}},
                    {},
                    false,
                    "+1\n.230045E+01\r\n"},
                   {"+1.230045E+01\r\n",
                    12300.45,
                    {},
                    {{"+1", "", false, "CR", false}, {"+1", ".230045E+01", true, "CR"}},
                    {},
                    false,
                    "+1\r.230045E+01\r\n"},
                   {"+1.230045E+01\r\n",
                    12300.45,
                    {},
                    {{"+1", "", false, "LF", false}, {"+1", ".230045E+01", true, "LF"}},
                    ".230045E+01\r\n",
                    false,
                    "+1\n"},
                   {"+1.230045E+01\r\n",
                    12300.45,
                    {},
                    {{"+1", "", false, "CR", false}, {"+1", ".230045E+01", true, "CR"}},
                    ".230045E+01\r\n",
                    false,
                    "+1\r"},
                   // a stray LF in the meter's next line of its own, before the answer: its head and its rest
                   // are passed over
                   {"+1.45678\n9E+01\r\n+1.450000E+01\r\n",
                    14500,
                    "+1.456789E+01\r\n",
                    {{"+1.45678", "", false, "LF"}, {"+1.45678", "9E+01", false, "LF"}},
                    {},
                    true},
                   // a meter that ends its lines LF: the first read cannot tell its line from a cut one, and
                   // asks again; the second LF teaches it
                   {"+1.450000E+01\n", 14500, {}, {{"+1.450000E+01", "", true, "LF", false}}},
                   // a line end that ends no text, or only blanks, cut none
                   {"+1.450000E+01\r\n", 14500, "\r\n\n"},
                   {"+1.450000E+01\r\n", 14500, " \t\xFF\r"},
                   {"+9.9E+37\r\n", std::nullopt}, // overload: beyond any range
                   {"", std::nullopt},             // silent: bounded wait, then nothing
                   {"+1.45", std::nullopt},        // no line end
                   {longLine, std::nullopt},       // a line too long to be a reading
                   {"OVLD\r\n", std::nullopt}})    // not a number
    {
        Bench b;
        int queries = 0;
        b.mult.respond = [&](const std::string& s) {
            if (s != ":READ?\r\n") return std::string();
            if (++queries == 1 && !c.first.empty()) return c.first;
            return queries == 1 || !c.talks ? c.reply : std::string();
        };
        b.mult.arrive(c.before);
        b.pump.onEvents = [&b, arriving = c.arriving]() mutable {
            b.mult.arrive(arriving.substr(0, 1));
            arriving.erase(0, 1);
        };
        const auto got = b.in.GetMult();
        EXPECT_EQ(got.has_value(), c.milli.has_value()) << c.reply;
        if (got && c.milli) {
            EXPECT_DOUBLE_EQ(*got, *c.milli) << c.reply;
        }
        // Each entry is a time line and its text: what was passed over, then the refusal.
        ASSERT_EQ(b.log.lines().size(), 2 * ((c.milli ? 0 : 1) + c.passed.size())) << c.reply;
        for (size_t i = 0; i < c.passed.size(); ++i) {
            const PassedOver& p = c.passed[i];
            const std::string cut =
                p.cut ? std::string("a lone ") + p.cut + " came after \"" + p.waited +
                            "\" in the input of the multimeter (COM3), " +
                            (p.known ? "which ends its lines CR LF: " : "whose line end is not known yet: ") +
                            (p.line.empty() ? "that text " : "the text after it, \"" + p.line + "\", ") +
                            (p.known ? "is the " : "may be the ") + (p.line.empty() ? "head" : "rest") +
                            " of the line it cut"
                      : "";
            EXPECT_EQ(b.log.lines()[2 * i + 1],
                      "Lettura Mult: " +
                          (p.cut ? cut
                                 : "\"" + p.waited +
                                       "\" was waiting, without a line end, in the input of the multimeter "
                                       "(COM3) when the read began: the first line after the query, \"" +
                                       p.line + "\", may be its rest") +
                          " and was passed over" +
                          (p.askedAgain ? "; the line then fell quiet and the meter was asked again" : "") +
                          "  ")
                << c.reply;
        }
        EXPECT_EQ(queries, 1 + std::count_if(c.passed.begin(), c.passed.end(),
                                             [](const PassedOver& p) { return p.askedAgain; }))
            << c.reply;
    }
    for (const auto& [reply, ma] :
         std::vector<std::pair<std::string, double>>{{"A0.123A\r", 123},
                                                     {"A0.1\r", -1},
                                                     {"A10.01A\r", -1},
                                                     {"A-0.10A\r", -1},
                                                     {"A0.123A\r" + longLine, -1}}) {
        Bench b;
        b.supply.respond = [&reply = reply](const std::string&) { return reply; };
        EXPECT_DOUBLE_EQ(b.in.ReadAlimCurr(), ma) << reply;
        EXPECT_EQ(b.log.lines().empty(), ma >= 0) << reply;
    }
    Bench hot; // every byte answered with 127: 21,390,621 degrees is no calibrator's reading
    hot.calib.respond = [](const std::string& s) { return std::string(s.size(), '\x7F'); };
    EXPECT_EQ(hot.in.GetTamb(), std::nullopt);
    EXPECT_EQ(hot.log.lines().back(),
              "Calibrator reference temperature 21390621.43 outside -50..200: no reading  ");
    Bench b;
    b.calib.respond = nullptr; // a silent calibrator fails its frame
    EXPECT_EQ(b.in.GetTamb(), std::nullopt);
    EXPECT_EQ(b.calib.written, bytes({1})); // gave up after the first unanswered byte
    EXPECT_EQ(b.log.lines().back(), "No answer from the calibrator (COM9)  ");
}

// Where a meter ends its lines with a lone LF or CR, a stray one cannot be told from a line end: only a line
// end shortly before the query may have cut a line, not one that came longer before it than the read
// gives a line to come whole, nor the end of a line that a read took, nor a blank line after it. Where it
// ends them CR LF, a lone one cuts a line however long before the query it came.
TEST(Instruments, OnlyALineEndShortlyBeforeTheQueryCutsALine) {
    using namespace std::chrono_literals;
    {
        Bench b;
        b.in.limits.multReplyMs = 200;
        int queries = 0;
        b.mult.respond = [&](const std::string&) { return ++queries, std::string("+1.450000E+01\n"); };
        // The first read cannot tell the meter's line from a cut one and asks again; two LF teach it.
        EXPECT_EQ(b.in.GetMult(), 14500);
        EXPECT_EQ(queries, 2);
        ASSERT_EQ(b.log.lines().size(), 2u);
        // Came, and was announced, 300 ms before a read that gives a line 200 ms: no line in progress.
        b.mult.arrive("+1.456789E+0\n");
        b.mult.onBytesReceived();
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(b.in.GetMult(), 14500);
        EXPECT_EQ(queries, 3);
        EXPECT_EQ(b.log.lines().size(), 2u);
        // Just before it: the answer is passed over and the meter asked again.
        b.mult.arrive("+1.456789E+0\n");
        b.mult.onBytesReceived();
        EXPECT_EQ(b.in.GetMult(), 14500);
        EXPECT_EQ(queries, 5);
        ASSERT_EQ(b.log.lines().size(), 4u);
        EXPECT_EQ(
            b.log.lines()[3].rfind("Lettura Mult: a line end came after \"+1.456789E+0\" in the input of the "
                                   "multimeter (COM3) less than 200 ms before the read began: the first line "
                                   "after the query, \"+1.450000E+01\", may be the rest of the line it cut",
                                   0),
            0u);
    }
    {
        // A meter that only answers, ending its lines CR, read again and again at once; an LF that ends no
        // text comes after each read. Its first line cannot be told from a cut one.
        Bench b;
        int queries = 0;
        b.mult.respond = [&](const std::string&) { return ++queries, std::string("+1.450000E+01\r"); };
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(b.in.GetMult(), 14500);
            b.mult.arrive("\n");
        }
        EXPECT_EQ(queries, 4);
        EXPECT_EQ(b.log.lines().size(), 2u);
    }
    {
        // After the reading a read took, the head of a line and a stray CR: the next read passes its first
        // line over, though it comes longer after the cut than the read gives a line.
        Bench b;
        b.in.limits.multReplyMs = 200;
        int queries = 0;
        b.mult.respond = [&](const std::string&) {
            return ++queries == 1 ? std::string("+1.450000E+01\r\n+1.45\r") : std::string("+2.5E+00\r\n");
        };
        EXPECT_EQ(b.in.GetMult(), 14500);
        EXPECT_TRUE(b.log.lines().empty());
        std::this_thread::sleep_for(300ms);
        EXPECT_EQ(b.in.GetMult(), 2500);
        EXPECT_EQ(queries, 3);
        ASSERT_EQ(b.log.lines().size(), 2u);
        EXPECT_NE(b.log.lines()[1].find("a lone CR came after \"+1.45\""), std::string::npos);
    }
}

// A multimeter on a pseudo-terminal that sends lines of its own and answers no query: the head of a line
// and a stray CR or LF when told, then, once a query came, the rest of that line at the end of a pause
// and the meter's next line 0.2 s later. One that answers sends that head only once the query came.
class CutLineMeter {
  public:
    CutLineMeter() { master_ = OpenRawPty(path_, keep_); }
    ~CutLineMeter() {
        join();
        ::close(master_);
        ::close(keep_);
    }
    const std::string& path() const { return path_; }
    // Once the meter has said all it will.
    void join() {
        if (thread_.joinable()) thread_.join();
    }
    void run(const std::string& head, const std::string& rest, const std::string& next,
             std::chrono::milliseconds pause, bool answers) {
        auto cutAt = std::chrono::steady_clock::now();
        if (!answers) send(head);
        thread_ = std::thread([=, this]() mutable {
            std::string in;
            char buf[64];
            pollfd p{master_, POLLIN, 0};
            while (in.find(MultReadCommand) == std::string::npos && ::poll(&p, 1, 5000) > 0) {
                const ssize_t n = ::read(master_, buf, sizeof buf);
                if (n <= 0) return;
                in.append(buf, static_cast<size_t>(n));
            }
            if (answers) cutAt = std::chrono::steady_clock::now(), send(head);
            queryBeforeRest = std::chrono::steady_clock::now() < cutAt + pause;
            std::this_thread::sleep_until(cutAt + pause);
            send(rest);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            send(next);
        });
    }
    bool queryBeforeRest = false; // the query came before the rest was sent; read after join()

  private:
    void send(const std::string& bytes) { (void)!::write(master_, bytes.data(), bytes.size()); }
    int master_ = -1, keep_ = -1;
    std::string path_;
    std::thread thread_;
};

// The cases of a line cut by a stray line end just before the query, or inside the answer of a meter that
// only answers, over a pseudo-terminal in real time: the rest of the line, sent after the query, is never
// the reading; the line the meter sends next is.
TEST(Instruments, ALineCutByAStrayLineEndBeforeTheQueryIsNotTheReading) {
    QtTestApp();
    struct Case {
        std::string head, rest;
        int pauseMs;
        double volts;
        bool answers = false;
    };
    for (const Case& c :
         {Case{"+1.456789E+0\r", "1\r\n", 150, 14.56789}, Case{"+1.45678\n", "9E+01\r\n", 200, 14.56789},
          Case{"-1\r", ".456789E+01\r\n", 250, -14.56789}, Case{"14\n", ".56789\r\n", 300, 14.56789},
          Case{"+1\n", ".230045E+01\r\n", 200, 12.30045, true}}) {
        CutLineMeter meter;
        QtLinkPort link;
        InstrumentPort port("multimeter", link, 3, "9600,n,8,1");
        ASSERT_TRUE(port.open({{3, meter.path()}}));
        VirtualClockPump pump;
        Log log;
        const std::string line = c.head.substr(0, c.head.size() - 1) + c.rest;
        meter.run(c.head, c.rest, line, std::chrono::milliseconds(c.pauseMs), c.answers);
        std::this_thread::sleep_for(std::chrono::milliseconds(20)); // the head and the stray are in
        const auto reading = ReadMultimeter(port, pump, log, 3000);
        port.close();
        meter.join();
        EXPECT_TRUE(meter.queryBeforeRest) << line;
        EXPECT_EQ(reading, c.volts) << line;
        const std::string cutText = c.head.substr(0, c.head.size() - 1);
        const std::string restText = c.rest.substr(0, c.rest.size() - 2);
        const std::string passed =
            "Lettura Mult: a lone " + std::string(c.head.back() == '\r' ? "CR" : "LF") + " came after \"" +
            cutText +
            "\" in the input of the multimeter (COM3), which ends its lines CR LF: the "
            "text after it, \"" +
            restText + "\", is the rest of the line it cut and was passed over";
        EXPECT_TRUE(std::any_of(log.lines().begin(), log.lines().end(), [&](const std::string& l) {
            return l.rfind(passed, 0) == 0;
        })) << line;
    }
}

// The multimeter, supply and calibrator on pseudo-terminals (a QApplication made first): the
// instruments' pauses pass at once, their answers come in real time.
struct PtyBench {
    PtyBench(PtyInstrument& mult, PtyInstrument& supply, PtyInstrument& calib) {
        ports.Devices = {{3, mult.path()}, {4, supply.path()}, {9, calib.path()}};
        ports.Seriale_calib.Number = 9;
        for (InstrumentPort* p : {&ports.Seriale_mult, &ports.Seriale_alim, &ports.Seriale_calib})
            opened = p->open(ports.Devices) && opened;
    }
    std::array<QtLinkPort, 4> links;
    InstrumentPorts ports{links[0], links[1], links[2], links[3]};
    bool opened = true;
    VirtualClockPump pump;
    FakeDialogs dialogs;
    Log log;
    BenchInstruments in{ports, pump, dialogs, log};
};

// A multimeter that never stops sending: the read ends after a bounded number of bytes.
struct EndlessPort : FakeSerialPort {
    size_t handedOut = 0;
    std::string readAll() override {
        handedOut += 4096;
        return std::string(4096, '7');
    }
};

TEST(Instruments, AReplyWithoutEndIsReadOnlyToItsBound) {
    EndlessPort mult;
    FakeSerialPort other;
    InstrumentPorts ports{other, mult, other, other};
    ASSERT_TRUE(ports.Seriale_mult.open(ports.Devices));
    TestPump pump;
    FakeDialogs dialogs;
    Log log;
    BenchInstruments in{ports, pump, dialogs, log};
    EXPECT_EQ(in.GetMult(), std::nullopt);
    EXPECT_LE(mult.handedOut,
              6 * 4096u); // what was there, two waits to see it still comes, the reply, the rest
}

// A multimeter that never stops sending its readings, 997 bytes a second whether asked or not: each
// read hands over what it sent since the last, from wherever in a line that one ended. Through a
// converter that passes them on in bursts, one every so many seconds, a line's head waits quiet for
// its rest.
struct StreamingMeter : FakeSerialPort {
    StreamingMeter(const TestPump& clock, double burst) : clock(clock), burst(burst) {}
    std::string readAll() override {
        const double passed = burst > 0 ? std::floor(clock.paused / burst) * burst : clock.paused;
        std::string sent;
        for (; taken < static_cast<size_t>(passed * 997); ++taken)
            sent += Line[taken % Line.size()];
        return sent;
    }
    void discardInput() override { readAll(); }
    const TestPump& clock;
    const double burst;
    size_t taken = 0;
    static inline const std::string Line = "+1.456789E+01\r\n";
};

TEST(Instruments, AMultimeterThatKeepsSendingIsReadByWholeLines) {
    for (const double burst : {0.0, 0.35}) {
        Bench b;
        StreamingMeter mult(b.pump, burst);
        InstrumentPorts ports{b.relay, mult, b.supply, b.calib};
        ASSERT_TRUE(ports.Seriale_mult.open(ports.Devices));
        BenchInstruments in{ports, b.pump, b.dialogs, b.log};
        for (int i = 0; i < 40; ++i)
            EXPECT_DOUBLE_EQ(in.GetMult().value_or(0), 14567.89) << burst << " " << i;
        // A read that finds the meter in the middle of a line logs what it passed over, and nothing else.
        const auto& lines = b.log.lines();
        EXPECT_FALSE(lines.empty());
        EXPECT_EQ(2 * std::count_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.find("was passed over") != l.npos; }),
                  static_cast<long>(lines.size()));
    }
}

long residentKb() {
    long pages = 0, resident = 0;
    std::FILE* f = std::fopen("/proc/self/statm", "r");
    if (f && std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    if (f) std::fclose(f);
    return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Instruments gone astray over pseudo-terminals, sending without end after their first answer: digits
// without a line end, bytes that answer no calibrator byte, a supply's garbage. Each read ends as no
// reading, logged, and memory stays flat.
TEST(Instruments, StrayInstrumentsOverPseudoTerminalsGiveNoReading) {
    QtTestApp();
    AnalogWorld world(0);
    const auto silent = [](const std::string&) { return std::string(); };
    PtyInstrument mult(silent, std::string(512, '7'));
    PtyInstrument supply(silent, "A?x\xFF\x01garbage");
    PtyInstrument calib([&](const std::string& b) { return world.calibrator(b); }, std::string(64, '\xFF'));
    PtyBench b(mult, supply, calib);
    ASSERT_TRUE(b.opened);
    BenchInstruments& in = b.in;
    const Log& log = b.log;
    const long before = residentKb();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(in.GetMult(), std::nullopt);
    EXPECT_EQ(in.ReadAlimCurr(), -1);
    EXPECT_EQ(in.GetTamb(), std::nullopt);
    EXPECT_LT(residentKb() - before, 64 * 1024);
    const auto& lines = log.lines();
    EXPECT_EQ(
        std::count(lines.begin(), lines.end(),
                   "Lettura Mult: no reading from the multimeter (COM3): no line end within 256 bytes  "),
        3);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Power supply (COM4): no current reading  "), 1);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
        return l.rfind("Calibrator (COM9) answered ", 0) == 0;
    }));
}

TEST(Instruments, CalibratorPromptNamesTheUnit) {
    EXPECT_EQ(CalibratorPrompt(7, 5), "Impostare calibratore 5 ");
    EXPECT_EQ(CalibratorPrompt(5, static_cast<float>(23.45)), "Impostare calibratore 23.45  \xB0"
                                                              "C TcK");
}

// Numbers as text read back as the same number, however many digits they would take in plain decimals.
TEST(Instruments, DecimalTextReadsBackExactly) {
    const std::pair<double, const char*> cases[]{{100, "100"},      {-0.25, "-0.25"}, {250.5, "250.5"},
                                                 {1e100, "1e+100"}, {1e-70, "1e-70"}, {-1e300, "-1e+300"}};
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(DecimalText(value), text);
        EXPECT_EQ(ParseReading(DecimalText(value)), value) << text;
    }
}

TEST(Collaudo, ManualReadingAsksUntilANumberAndCancelFails) {
    Bench b;
    CollaudoPorts ports{b.ports.Seriale_mult, b.ports.Seriale_alim};
    b.dialogs.inputs = {"abc", "1,5", "1.5"};
    EXPECT_EQ(LeggiMultimetro("MANUALE", ports, b.pump, b.dialogs, b.log, 50), 1500);
    EXPECT_TRUE(b.dialogs.inputs.empty());
    b.dialogs.inputs = {"x", std::nullopt};
    EXPECT_EQ(LeggiMultimetro("MANUALE", ports, b.pump, b.dialogs, b.log, 50), std::nullopt);
    EXPECT_EQ(LeggiMultimetro("USB0", ports, b.pump, b.dialogs, b.log, 50), std::nullopt); // not a mode
    b.mult.respond = [](const std::string&) { return std::string("+2.5E+00\r\n"); };
    EXPECT_EQ(LeggiMultimetro("COM4", ports, b.pump, b.dialogs, b.log, 50), 2500);
    ImpostaAlimentatore("MANUALE", b.ports.Seriale_alim, true, "12.00", b.pump, b.dialogs);
    EXPECT_EQ(b.dialogs.shown.back(), "Alim = ON, 12.00 Volt");
}

TEST(InstrumentPorts, ComNumbersMapToDevices) {
    const ComDevices d = ParseComDevices("3=/dev/pts/4,x=/dev/a,7=/dev/pts/6,9=");
    EXPECT_EQ(d, (ComDevices{{3, "/dev/pts/4"}, {7, "/dev/pts/6"}}));
    EXPECT_EQ(ComDevice(d, 7), "/dev/pts/6");
    EXPECT_EQ(ComDevice(d, 1).substr(0, 8), "/dev/tty");
}

// Each driver that waits for an answer, over a real serial port: a pseudo-terminal with the simulated
// instrument behind it, answering in its own time.
TEST(Instruments, EachDriverRoundTripOverAPseudoTerminal) {
    QtTestApp();
    AnalogWorld world(0);
    PtyInstrument mult([&](const std::string& b) { return world.multimeter(b); });
    PtyInstrument supply([&](const std::string& b) { return world.supply(b); });
    PtyInstrument calib([&](const std::string& b) { return world.calibrator(b); });
    PtyBench b(mult, supply, calib);
    ASSERT_TRUE(b.opened);
    BenchInstruments& in = b.in;
    const Log& log = b.log;
    EXPECT_EQ(in.GetMult(), 14500);
    EXPECT_EQ(in.ReadAlimCurr(), 123);
    CalibratorFrame frame = MakeCalibratorFrame(1, 8, 1, 0, 192);
    EXPECT_TRUE(in.PutCal200(frame));
    EXPECT_EQ(frame, (CalibratorFrame{1, 1, 0, 0, 9, 41, 73})); // data answered with 23.45 degrees
    EXPECT_TRUE(log.lines().empty());
}

} // namespace
