// A transaction waiting for its answer sleeps on the link, yet the rest of the program keeps running: a
// timer keeps firing while a device stays silent, over TCP and over a serial line.
#include <gtest/gtest.h>

#include <QTimer>

#include "comm/transaction.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

TEST(LinkWait, OtherEventsRunWhileTheDeviceIsSilent) {
    for (const bool serial : {false, true}) {
        SCOPED_TRACE(serial ? "RTU" : "TCP");
        SimController sim;
        SimSession s;
        ASSERT_TRUE(serial ? s.connectRtu(sim.startRtu()) : s.connectTcp(sim.startTcp()));
        s.comm->CurrentDevice.LinkTimeout = 400;
        s.comm->AnswerTimeout = 1;
        sim.inject({SimFault::Silence});
        int ticks = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        timer.start(5);
        s.request({10, 3, 0, 0, 0, 1});
        EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComTimeout);
        // A wait that slept on the link alone would let no tick through; the bound leaves room for a
        // loaded machine.
        EXPECT_GE(ticks, 10);
        // The link stays usable for the next request.
        s.request({10, 3, 0, 0, 0, 1});
        EXPECT_EQ(TrasmettiRicevi(s.app, 0), ComOk);
    }
}
