// Our master against libmodbus, an independent server: the two implementations agree on frames and values.
#include <gtest/gtest.h>

#include "comm/device_procedures.h"
#include "comm/transaction.h"
#include "support/libmodbus_server.h"
#include "support/pty_bridge.h"
#include "support/sim_session.h"

namespace {

// Reads holding registers 0..9 with function 3 and an input register with function 4, and writes through
// functions 6 and 16.
void exerciseRegisters(SimSession& s, LibmodbusServer& server) {
    for (int i = 0; i < 10; ++i)
        server.holding()[i] = static_cast<uint16_t>(0x1100 + i);
    server.input()[3] = 0xFFFE;

    s.request({10, 3, 0, 0, 0, 10});
    ASSERT_EQ(TrasmettiRicevi(s.app, -1), ComOk);
    EXPECT_EQ(s.comm->RxBuffer[2], 20);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(s.comm->RxBuffer[3 + 2 * i], 0x11);
        EXPECT_EQ(s.comm->RxBuffer[4 + 2 * i], i);
    }
    EXPECT_EQ(LeggiRegistro(s.app, 10, 3), 65534.0);

    EXPECT_TRUE(ScriviLong(s.app, 0x0A0B0C0D, false, 30)); // low word first, as the float
    EXPECT_EQ(server.holding()[30], 0x0C0D);
    EXPECT_EQ(server.holding()[31], 0x0A0B);
    EXPECT_TRUE(ScriviFloat(s.app, 10.0, 50));
    EXPECT_EQ(server.holding()[50], 0x0000);
    EXPECT_EQ(server.holding()[51], 0x4120);

    // An address beyond its tables: libmodbus answers an exception.
    s.request({10, 3, 0x13, 0x88, 0, 1});
    EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComWrongAnswer);
    EXPECT_EQ(s.comm->RxBuffer[1], 0x83);
    EXPECT_EQ(s.comm->RxBuffer[2], 2);
}

TEST(LibmodbusPeer, RegistersAgreeOverTcpAndOverPseudoTerminals) {
    for (const bool serial : {false, true}) {
        SCOPED_TRACE(serial ? "RTU" : "TCP");
        PtyBridge bridge;
        LibmodbusServer server;
        SimSession s;
        s.comm->AnswerTimeout = 1;
        if (serial) server.startRtu(bridge.pathB(), 115200);
        ASSERT_TRUE(serial ? s.connectRtu(bridge.pathA(), "115200") : s.connectTcp(server.startTcp()));
        exerciseRegisters(s, server);
    }
}

} // namespace
