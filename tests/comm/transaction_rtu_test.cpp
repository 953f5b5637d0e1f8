// The transaction over RTU on a pseudo-terminal against the simulated controller.
#include <gtest/gtest.h>

#include <QTimer>

#include "comm/device_procedures.h"
#include "comm/transaction.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

class RtuTransaction : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(s.connectRtu(sim.startRtu()));
        s.comm->AnswerTimeout = 1;
    }
    SimController sim{10};
    SimSession s;
};

TEST_F(RtuTransaction, GoldenFramesGoOutByteExact) {
    const std::vector<std::vector<uint8_t>> wires = {
        {0x0A, 0x14, 0x04, 0x00, 0x00, 0x13, 0x01, 0x55, 0xA5, 0x9B},
        {0x0A, 0x14, 0x02, 0x00, 0x00, 0x13, 0x01, 0x07, 0x24},
        {0x0A, 0x04, 0x00, 0x01, 0x00, 0x02, 0x21, 0x70},
        {0x0A, 0x06, 0x00, 0x00, 0x00, 0xFF, 0xC8, 0xF1},
        {0x0A, 0x14, 0x01, 0x00, 0x00, 0x00, 0x20, 0x8E, 0x0C},
    };
    for (const auto& wire : wires) {
        sim.clearTranscript();
        s.request({wire.begin(), wire.end() - 2});
        EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
        EXPECT_EQ(sim.wire(), std::vector<Bytes>{wire});
        EXPECT_EQ(s.shell->status.Text[4], "Com OK");
    }
}

const std::vector<uint8_t> ReadReg5{0x0A, 0x04, 0x00, 0x05, 0x00, 0x01};

TEST_F(RtuTransaction, NotConnectedOrAsciiModeSendsNothingAndABroadcastIsNotAwaited) {
    s.comm->CurrentDevice.Connected = 0;
    s.comm->PollStop = 0;
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComNotConnected);
    EXPECT_TRUE(s.dialogs.shown.empty());
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComNotConnected);
    ASSERT_EQ(s.dialogs.boxes.size(), 1u);
    EXPECT_EQ(s.dialogs.boxes[0].text, "Controller not connected");
    EXPECT_EQ(s.dialogs.boxes[0].icon, MsgIcon::Warning);
    EXPECT_EQ(s.comm->PollStop, 0);
    EXPECT_EQ(s.shell->log.lines().back(), "Com Error  ");
    // The ASCII link mode is not offered: the request is not sent either.
    s.comm->CurrentDevice.Connected = -1;
    s.comm->LinkMode = 0;
    EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComTimeout);
    s.pump.pausa(0.05);
    EXPECT_TRUE(sim.wire().empty());

    // A broadcast is sent without waiting, and only with room for the check bytes.
    s.comm->LinkMode = 1;
    s.comm->AnswerExpected = 0;
    s.request({0xFF, 0x06, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    EXPECT_EQ(s.comm->TxLength, 8);
    s.comm->AnswerExpected = -1;
    s.request(ReadReg5); // the next request still gets its own answer
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    ASSERT_EQ(sim.wire().size(), 2u);
    EXPECT_EQ(sim.wire()[0], (std::vector<uint8_t>{0xFF, 0x06, 0x00, 0x00, 0x00, 0x00, 0x9C, 0x14}));

    // A request that leaves no room for the check bytes in the buffer fails.
    s.comm->AnswerExpected = 0;
    s.comm->TxBuffer.fill(0x11);
    s.comm->TxLength = 999;
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    EXPECT_EQ(s.comm->TxLength, 1001);
    s.comm->TxLength = 1000;
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
    EXPECT_EQ(s.dialogs.boxes.back().title, "MOD-RTU");
}

// Each failed answer: the result, the boxes shown (the checksum ones even when quiet), and the status
// panel, log and PollStop that every failure sets.
TEST_F(RtuTransaction, FailedAnswers) {
    const struct {
        SimFaultSpec fault;
        int16_t show;
        uint8_t result;
        std::vector<std::string> boxes;
    } cases[] = {
        {{SimFault::Silence}, -1, ComTimeout, {}},
        {{SimFault::BadCrc}, 0, ComTimeout, {"Errore Checksum 2"}},
        {{SimFault::BadCrc}, -1, ComTimeout, {"Errore Checksum 2", "CheckSum Rx Errato"}},
        {{SimFault::Raw, 0, 0, {0x0A}}, -1, ComTimeout, {"CheckSum Rx Errato"}}, // too short for a check
        {{SimFault::Exception, 0, 2}, -1, ComWrongAnswer, {"Risposta Errata (funzione)"}},
        // Last: the node's own answer may still come after another's, and the next request would wait for it.
        {{SimFault::WrongAddress}, -1, ComWrongAnswer, {"Risposta Errata (indirizzo)"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxes.empty() ? "silence" : c.boxes.back());
        s.dialogs.shown.clear();
        s.comm->PollStop = 0;
        sim.inject(c.fault);
        s.request(ReadReg5);
        EXPECT_EQ(TrasmettiRicevi(s.app, c.show), c.result);
        EXPECT_EQ(s.dialogs.shown, c.boxes);
        EXPECT_EQ(s.comm->PollStop, 1);
        const bool timeout = c.result == ComTimeout;
        EXPECT_EQ(s.shell->status.Text[4], timeout ? "Com TimeOut" : "Com Error");
        const auto& log = s.shell->log.lines();
        EXPECT_EQ(log.back(), timeout ? "Com Timeout  " : "Com Error  ");
        EXPECT_EQ(log[log.size() - 2].substr(0, 3), "-- ");
    }
    EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0B, 0x04, 0x02, 0x00, 0x00, 0x21, 0x31}));
    EXPECT_EQ(s.dialogs.boxes.back().icon, MsgIcon::None);
    EXPECT_EQ(s.dialogs.boxes.back().title, "");
}

// The answer lands in RxBuffer with its check bytes and the monitor shows it; with echo removal the
// echo of the request goes first.
TEST_F(RtuTransaction, AnswerLandsInRxBufferWithoutTheEcho) {
    sim.setInput(5, 0x1234);
    s.comm->MonitorOn = -1;
    s.comm->MonitorRx = "old";
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    EXPECT_EQ(s.comm->MonitorRx, "0A 04 02 12 34 11 86 ");
    EXPECT_EQ(s.comm->TxLength, 0); // no echo removal: the request length is spent
    sim.setEcho(true);
    s.comm->CurrentDevice.EchoRemove = -1;
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0A, 0x04, 0x02, 0x12, 0x34, 0x11, 0x86}));
    EXPECT_EQ(s.comm->TxLength, 8);
    EXPECT_TRUE(s.dialogs.shown.empty());

    // Only the echo comes back: nothing is left once it is dropped, so the check fails without the
    // checksum boxes.
    sim.inject({SimFault::Silence});
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
    EXPECT_EQ(s.dialogs.shown, (std::vector<std::string>{"CheckSum Rx Errato"}));

    // Five bytes back for an eight-byte request: shorter than the echo.
    sim.setEcho(false);
    sim.inject({SimFault::Exception, 0, 1});
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
    EXPECT_EQ(s.dialogs.boxes.back().title, "MOD-RTU");
    EXPECT_EQ(s.dialogs.boxes.back().icon, MsgIcon::Critical);
}

TEST_F(RtuTransaction, AnswerSplitOverPausesIsAssembled) {
    sim.setInput(5, 0xBEEF);
    sim.inject({SimFault::Split, 60});
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    EXPECT_EQ(s.answer()[3], 0xBE);
    EXPECT_EQ(s.answer()[4], 0xEF);
}

// A two-wire converter echoes the request at once; the device answers late or in parts. The echo starts
// no silence: each answer is taken whole, and the request after it gets its own.
TEST_F(RtuTransaction, EchoedRequestsGetTheirAnswersHoweverLate) {
    sim.setEcho(true);
    s.comm->CurrentDevice.EchoRemove = -1;
    sim.setInput(5, 0x0505);
    sim.setInput(6, 0x0606);
    for (const SimFaultSpec& late : {SimFaultSpec{SimFault::Delay, 0}, SimFaultSpec{SimFault::Delay, 60},
                                    SimFaultSpec{SimFault::Delay, 150}, SimFaultSpec{SimFault::Split, 60}}) {
        SCOPED_TRACE(late.ms);
        sim.inject(late);
        s.request(ReadReg5);
        EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
        EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0A, 0x04, 0x02, 0x05, 0x05, 0xDF, 0xA2}));
        s.request({0x0A, 0x04, 0x00, 0x06, 0x00, 0x01});
        EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
        EXPECT_EQ(s.answer()[3], 0x06);
    }
    EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST_F(RtuTransaction, LateAnswerToAnEarlierRequestIsDiscarded) {
    sim.setInput(5, 0x0505);
    sim.setInput(6, 0x0606);
    sim.inject({SimFault::Delay, 1300});
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComTimeout);
    s.pump.pausa(0.5); // the late answer to register 5 arrives meanwhile
    s.request({0x0A, 0x04, 0x00, 0x06, 0x00, 0x01});
    EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComOk);
    EXPECT_EQ(s.answer()[3], 0x06);
}

// A device that answers after the 1 s time-out, with and without an echoing converter, alone or at one of
// two addresses asked in turn (the other answering at once), after a stray byte or five bytes of garbage
// that ended the wait, with five stray bytes of any value while its late answer is awaited, or at both
// addresses with a stray byte just before the first one's late answer, or after a frame of that address
// with another function came as another request's answer (to a request to another address, or to its own
// older one): its late answer is dropped, and logged, and its next request gets its own. A device that never
// answers holds its next request back for the time-out its unanswered one was sent with, not for a longer
// one set since.
TEST_F(RtuTransaction, AnAnswerAfterTheTimeOutIsNeverTheNextRequests) {
    SimController line; // nodes 10 and 11, each answering on its own
    line.setResponder(
        [&line](const Bytes& r) { return r[0] == 10 || r[0] == 11 ? line.execute(r) : Bytes{}; });
    s.link.close();
    ASSERT_TRUE(s.connectRtu(line.startRtu()));
    for (uint16_t r = 100; r <= 102; ++r)
        line.setInput(r, r);
    const auto late = [](int ms, Bytes stray = {}, int strayBeforeMs = -1) {
        return SimFaultSpec{SimFault::Late, ms, 0, std::move(stray), strayBeforeMs};
    };
    const Bytes burst(5, 0xFF), garbage{0xFF, 0x00, 0x0B, 0x04, 0xA5};
    const SimFaultSpec function3Of11{SimFault::Raw, 0, 0, {0x0B, 0x03, 0x02, 0x00, 0x00, 0x20, 0x45}};
    struct Ask {
        uint8_t node, function, result;
    };
    const struct {
        std::vector<SimFaultSpec> faults; // met by the requests that go unanswered, as asked
        std::vector<uint8_t> then;        // asked next, each getting its own answer
        bool echo = false;
        int16_t raisedTimeout = 1;
        size_t dropped = 7; // bytes dropped before the last request, as its log line tells
        std::vector<Ask> asked = {{11, 4, ComTimeout}, {10, 4, ComTimeout}};
    } rows[] = {{{late(1100)}, {11}},
                {{late(1100)}, {11}, true},
                {{late(1500)}, {11}},
                {{late(1250)}, {10, 11}},
                {{late(1500)}, {10, 11}},
                {{{SimFault::Silence}}, {11}, false, 10, 0},
                {{late(1500, {0xFF})}, {11}},
                {{late(1500, garbage)}, {11}},
                {{late(1500, burst, 450)}, {11}, false, 1, 12},
                {{late(1500, Bytes(5, 0x00), 450)}, {10, 11}, false, 1, 12},
                {{late(1220, {0x00}, 10), late(1220)}, {10}},
                {.faults = {late(1500), function3Of11},
                 .then = {11},
                 .asked = {{11, 4, ComTimeout}, {10, 3, ComWrongAnswer}}},
                {.faults = {late(2500), late(1500)},
                 .then = {11},
                 .asked = {{11, 3, ComTimeout}, {11, 4, ComWrongAnswer}}}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(&row - rows));
        line.setEcho(row.echo);
        s.comm->CurrentDevice.EchoRemove = row.echo ? -1 : 0;
        s.comm->AnswerTimeout = 1;
        for (size_t i = 0; i < row.faults.size(); ++i) {
            line.inject(row.faults[i]);
            s.request({row.asked[i].node, row.asked[i].function, 0x00, 100, 0x00, 0x01});
            EXPECT_EQ(TrasmettiRicevi(s.app, 0), row.asked[i].result);
        }
        const int64_t unanswered = s.pump.nowMs();
        s.comm->AnswerTimeout = row.raisedTimeout;
        for (const uint8_t node : row.then) {
            const uint8_t reg = node == 10 ? 101 : 102;
            s.request({node, 0x04, 0x00, reg, 0x00, 0x01});
            EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComOk);
            EXPECT_EQ(s.answer().at(4), reg);
        }
        EXPECT_LT(s.pump.nowMs() - unanswered, 1800);
        if (row.dropped) {
            EXPECT_EQ(s.shell->log.lines().back(),
                      std::to_string(row.dropped) + " bytes arrived while idle and were dropped  ");
        }
    }
}

// Only a device that may still answer is waited for: none answers a broadcast, and a link opened anew may
// lead to another device.
TEST_F(RtuTransaction, NoLateAnswerIsAwaitedFromABroadcastOrOverANewLink) {
    struct Row {
        uint8_t node;
        bool reopen;
        uint8_t second;
        int64_t atMostMs;
    };
    for (const Row& row : {Row{0, false, ComTimeout, 1500}, Row{10, true, ComOk, 500}}) {
        SCOPED_TRACE(row.node);
        if (row.node) sim.inject({SimFault::Silence});
        s.request({row.node, 0x04, 0x00, 0x05, 0x00, 0x01});
        EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComTimeout);
        if (row.reopen) {
            s.link.close();
            Connetti(s.app);
        }
        const int64_t start = s.pump.nowMs();
        s.request({row.node, 0x04, 0x00, 0x05, 0x00, 0x01});
        EXPECT_EQ(TrasmettiRicevi(s.app, 0), row.second);
        EXPECT_LT(s.pump.nowMs() - start, row.atMostMs);
    }
}

TEST_F(RtuTransaction, RequestStartedDuringAWaitIsRefused) {
    sim.setInput(5, 0x0505);
    sim.inject({SimFault::Delay, 300});
    uint8_t nested = 0xEE;
    QTimer::singleShot(50, [&] {
        s.request({0x0A, 0x06, 0x00, 0x00, 0x00, 0xFF}); // overwrites the buffer the first request came from
        nested = TrasmettiRicevi(s.app, -1);
    });
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    EXPECT_EQ(nested, ComTimeout);
    EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0A, 0x04, 0x02, 0x05, 0x05, 0xDF, 0xA2}));
    EXPECT_EQ(sim.transcript().size(), 1u);
    EXPECT_EQ(s.shell->status.Text[4], "Com OK");
    EXPECT_EQ(s.dialogs.boxes.at(0).title, "MOD-RTU");
}

TEST_F(RtuTransaction, DeviceVanishingMidTransactionClosesTheLink) {
    sim.inject({SimFault::Disconnect});
    s.request(ReadReg5);
    const int64_t start = s.pump.nowMs();
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
    EXPECT_LT(s.pump.nowMs() - start, 900); // ended by the loss, not by the time-out
    EXPECT_EQ(s.dialogs.shown, std::vector<std::string>{"Link lost: the serial device hung up"});
    EXPECT_EQ(s.comm->CurrentDevice.Connected, 0);
    s.request(ReadReg5);
    EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComNotConnected);
}

} // namespace
