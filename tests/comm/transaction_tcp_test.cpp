// The transaction over Modbus TCP on 127.0.0.1 against the simulated controller.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "comm/link.h"
#include "comm/transaction.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

class TcpTransaction : public ::testing::Test {
  protected:
    void SetUp() override {
        s.comm->CurrentDevice.LinkTimeout = 400;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        sim.setInput(5, 0x1234);
        sim.setInput(6, 0x0606);
    }
    uint8_t readRegister(uint8_t reg, int16_t show = 0) {
        s.request({0x0A, 0x04, 0x00, reg, 0x00, 0x01});
        return TrasmettiRicevi(s.app, show);
    }
    SimController sim{10};
    SimSession s;
};

TEST_F(TcpTransaction, RunCommandGoesOutWithTheMbapHeaderAndNoCrcAndTheAnswerWithout) {
    s.comm->MonitorOn = -1;
    s.request({0x0A, 0x06, 0x00, 0x00, 0x00, 0xFF});
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    ASSERT_EQ(sim.wire().size(), 1u);
    EXPECT_EQ(sim.wire()[0], (std::vector<uint8_t>{0, 1, 0, 0, 0, 6, 0x0A, 0x06, 0, 0, 0, 0xFF}));
    EXPECT_EQ(s.comm->TxLength, 6); // the TCP path leaves the request as it was
    EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0A, 0x06, 0, 0, 0, 0xFF}));
    EXPECT_EQ(s.comm->MonitorRx, "0A 06 00 00 00 FF ");
    EXPECT_EQ(sim.commandRegister(), 0xFF);
}

TEST_F(TcpTransaction, AnswerSplitOverSegmentsIsAssembled) {
    sim.inject({SimFault::Split, 80});
    EXPECT_EQ(readRegister(5), ComOk);
    EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0A, 0x04, 0x02, 0x12, 0x34}));
}

// Each answer as framed: the result and the boxes (only a malformed frame has one); every failure sets
// PollStop. An answer followed in its segment by more bytes is the frame its length names, and none of what
// followed passes for the next request's answer, though here every request and answer carries identifier 0.
// Whatever a read met, the next one gets its own answer: also where the late answer of a read left
// unanswered comes with it, in one segment or 20 ms before it, from a device that echoes the identifier
// (dropped as another request's) or from one that answers everything with 0 (on a new connection).
TEST_F(TcpTransaction, AnswersAsFramed) {
    const Bytes answer{0, 0, 0, 0, 0, 5, 0x0A, 0x04, 0x02, 0x12, 0x34};
    const auto followedBy = [&answer](const Bytes& more) {
        Bytes segment = answer;
        segment.insert(segment.end(), more.begin(), more.end());
        return segment;
    };
    const Bytes earlier{0, 0, 0, 0, 0, 5, 0x0A, 0x04, 0x02, 0x05, 0x05};
    enum Ids { Scripted, Echoed, Zero }; // scripted answers carry 0; the device echoes them or answers 0
    const struct {
        SimFault fault;
        Bytes raw;
        uint8_t result;
        size_t boxes;
        Ids ids = Scripted;
        int lateBeforeMs = -1;
    } cases[] = {
        // Malformed: too short for unit and function, longer than any answer.
        {SimFault::Raw, {0, 0, 0, 0, 0, 1, 0x0A}, ComTimeout, 1},
        {SimFault::Raw, {0, 0, 0, 0, 0x04, 0x00, 0x0A, 0x04}, ComTimeout, 1},
        // The answer, then the one before it, one with another identifier, itself again, 1 or 12 bytes.
        {SimFault::Raw, followedBy(earlier), ComOk, 0},
        {SimFault::Raw, followedBy({0, 7, 0, 0, 0, 5, 0x0A, 0x04, 0x02, 0x05, 0x05}), ComOk, 0},
        {SimFault::Raw, followedBy(answer), ComOk, 0},
        {SimFault::Raw, followedBy({0x99}), ComOk, 0},
        {SimFault::Raw, followedBy({0, 0, 0, 0, 0, 6, 0x0A, 0x04, 0x02, 0x05, 0x05, 0x00}), ComOk, 0},
        // Another transaction identifier, another protocol: dropped until the time-out.
        {SimFault::Raw, {0, 7, 0, 0, 0, 5, 0x0A, 0x04, 0x02, 0x12, 0x34}, ComTimeout, 0},
        {SimFault::Raw, {0, 0, 0, 1, 0, 5, 0x0A, 0x04, 0x02, 0x12, 0x34}, ComTimeout, 0},
        {SimFault::Silence, {}, ComTimeout, 0},
        // The answer comes late, with the next one.
        {SimFault::Late, {}, ComTimeout, 0, Echoed},
        {SimFault::Late, {}, ComTimeout, 0, Echoed, 20},
        {SimFault::Late, {}, ComTimeout, 0, Zero},
        {SimFault::Late, {}, ComTimeout, 0, Zero, 20},
        {SimFault::WrongAddress, {}, ComWrongAnswer, 0},
        {SimFault::Exception, {}, ComWrongAnswer, 0},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        s.dialogs.boxes.clear();
        s.comm->PollStop = 0;
        s.comm->FixedTransactionId = cases[i].ids == Echoed ? 0 : -1;
        sim.setZeroTransactionId(cases[i].ids == Zero);
        sim.inject({cases[i].fault, 0, 2, cases[i].raw, cases[i].lateBeforeMs});
        const int connections = sim.connections();
        EXPECT_EQ(readRegister(5, -1), cases[i].result);
        EXPECT_EQ(s.dialogs.boxes.size(), cases[i].boxes);
        EXPECT_TRUE(cases[i].boxes == 0 || s.dialogs.boxes[0].title == "MOD-RTU");
        if (cases[i].result == ComOk) {
            EXPECT_EQ(s.answer(), Bytes(answer.begin() + 6, answer.end()));
        } else {
            EXPECT_EQ(s.comm->PollStop, 1);
            const bool timeout = cases[i].result == ComTimeout;
            EXPECT_EQ(s.shell->status.Text[4], timeout ? "Com TimeOut" : "Com Error");
            EXPECT_EQ(s.shell->log.lines().back(), timeout ? "Com Timeout  " : "Com Error  ");
        }
        if (i + 1 == std::size(cases)) {
            EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0A, 0x84, 0x02}));
        }
        EXPECT_EQ(readRegister(6), ComOk);
        EXPECT_EQ(s.answer(), (Bytes{0x0A, 0x04, 0x02, 0x06, 0x06}));
        EXPECT_EQ(s.shell->status.Text[4], "Com OK");
        if (cases[i].ids == Echoed) {
            EXPECT_EQ(sim.connections(), connections);
        }
    }
}

TEST_F(TcpTransaction, LateAnswerArrivingDuringTheNextWaitIsNotTakenForItsAnswer) {
    sim.inject({SimFault::Delay, 600});
    EXPECT_EQ(readRegister(5), ComTimeout); // the device answers 200 ms after the wait gave up
    EXPECT_EQ(readRegister(6), ComOk);
    EXPECT_EQ(s.answer(), (std::vector<uint8_t>{0x0A, 0x04, 0x02, 0x06, 0x06}));
    const auto wire = sim.wire();
    ASSERT_EQ(wire.size(), 2u);
    EXPECT_EQ(Bytes(wire[1].begin(), wire[1].begin() + 2), (Bytes{0, 2})); // each request its own identifier
}

TEST_F(TcpTransaction, LateAnswersAreDiscardedBeforeTheNextRequest) {
    // Once seen by the event loop, once still waiting in the system's buffer.
    sim.inject({SimFault::Delay, 600});
    EXPECT_EQ(readRegister(5), ComTimeout);
    s.pump.pausa(0.4);
    EXPECT_EQ(readRegister(6), ComOk);
    EXPECT_EQ(s.answer()[3], 0x06);

    sim.inject({SimFault::Delay, 600});
    EXPECT_EQ(readRegister(5), ComTimeout);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(readRegister(6), ComOk);
    EXPECT_EQ(s.answer()[3], 0x06);
}

// A device that answers every request with identifier 0: an answer that fits the request in unit, function
// and length switches the link to identifier 0 for good, with one log line; one that does not fit is
// dropped as a foreign frame. While an earlier request's answer may still come, a fitting one is not taken
// (it may be that one), and the next request goes on a new connection, which one log line tells for every
// one until the next connect. A new link numbers its requests again.
TEST_F(TcpTransaction, ADeviceThatAnswersWithIdentifierZeroWorksAfterItsFirstAnswer) {
    const std::string switched =
        "The device answers with transaction id 0: all requests of this link carry 0  ";
    sim.inject({SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 4, 0x0A, 0x04, 0x02, 0x12}}); // one byte short
    EXPECT_EQ(readRegister(5), ComTimeout);
    sim.inject({SimFault::Raw, 0, 0, {0, 0, 0, 0, 0, 5, 0x0A, 0x04, 0x02, 0x12, 0x34}});
    EXPECT_EQ(readRegister(5), ComTimeout);
    const auto& log = s.shell->log.lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), switched), 1);
    EXPECT_EQ(log.at(log.size() - 3),
              "An answer with transaction id 0 may be an earlier request's: not taken  ");
    EXPECT_EQ(readRegister(6), ComOk);
    EXPECT_EQ(s.answer()[3], 0x06);
    EXPECT_EQ(sim.connections(), 2);
    auto wire = sim.wire();
    ASSERT_EQ(wire.size(), 3u);
    EXPECT_EQ(Bytes(wire[2].begin(), wire[2].begin() + 2), (Bytes{0, 0}));
    EXPECT_EQ(std::count(log.begin(), log.end(), switched), 1);
    // Every new connection until the next connect is told by the first one's line alone.
    sim.inject({SimFault::Silence});
    EXPECT_EQ(readRegister(5), ComTimeout);
    EXPECT_EQ(readRegister(6), ComOk);
    EXPECT_EQ(sim.connections(), 3);
    const auto told = [](const std::string& line) { return line.starts_with("New connection  [127.0.0.1]"); };
    EXPECT_EQ(std::count_if(log.begin(), log.end(), told), 1);

    Disconnetti(s.app);
    ASSERT_TRUE(s.connectTcp(static_cast<uint16_t>(s.comm->CurrentDevice.Port)));
    EXPECT_EQ(readRegister(5), ComOk);
    wire = sim.wire();
    EXPECT_NE(Bytes(wire.back().begin(), wire.back().begin() + 2), (Bytes{0, 0}));
}

// A broadcast is not awaited, and the next request still gets its answer; one over 255 bytes is not sent.
TEST_F(TcpTransaction, BroadcastIsSentWithoutWaitingAndARequestOver255BytesIsRefused) {
    s.comm->AnswerExpected = 0;
    s.request({0xFF, 0x06, 0x00, 0x00, 0x00, 0x00});
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    s.comm->AnswerExpected = -1;
    EXPECT_EQ(readRegister(5), ComOk);
    EXPECT_EQ(sim.transcript().front(), (Bytes{0xFF, 0x06, 0x00, 0x00, 0x00, 0x00}));
    s.comm->TxBuffer.fill(0x01);
    s.comm->TxLength = 256;
    EXPECT_EQ(TrasmettiRicevi(s.app, -1), ComTimeout);
    EXPECT_EQ(s.dialogs.boxes.at(0).text, "TCP request over 255 bytes");
    s.pump.pausa(0.05);
    EXPECT_EQ(sim.wire().size(), 2u);
}

// The new connection a device that numbers its answers 0 needs after a request left unanswered does not
// come: the request fails, and the link is lost, told as such.
TEST_F(TcpTransaction, NoNewConnectionAfterAnUnansweredRequestLosesTheLink) {
    s.comm->FixedTransactionId = -1;
    sim.inject({SimFault::Silence});
    EXPECT_EQ(readRegister(5), ComTimeout);
    sim.stop();
    EXPECT_EQ(readRegister(6, -1), ComTimeout);
    EXPECT_EQ(s.comm->CurrentDevice.Connected, 0);
    const std::string lost = "Link lost: no new connection: Connection refused  [127.0.0.1:" +
                             std::to_string(static_cast<uint16_t>(s.comm->CurrentDevice.Port)) + "]";
    EXPECT_EQ(s.dialogs.boxes.at(0).text, lost);
    const auto& log = s.shell->log.lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), lost + "  "), 1);
    EXPECT_EQ(readRegister(6), ComNotConnected);
}

TEST_F(TcpTransaction, PeerClosingMidTransactionEndsItAndTheLink) {
    sim.inject({SimFault::Disconnect});
    s.comm->CurrentDevice.LinkTimeout = 5000;
    const int64_t start = s.pump.nowMs();
    EXPECT_EQ(readRegister(5), ComTimeout);
    EXPECT_LT(s.pump.nowMs() - start, 2000);
    EXPECT_EQ(s.comm->CurrentDevice.Connected, 0);
    EXPECT_EQ(readRegister(5), ComNotConnected);
}

} // namespace
