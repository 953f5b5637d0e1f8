#include <gtest/gtest.h>

#include <QTimer>

#include "platform/qt_event_pump.h"
#include "support/qt_test_app.h"

TEST(Pausa, WaitsTheTimeWhileEventsRunAndZeroReturnsAtOnce) {
    QtTestApp();
    QtEventPump pump;
    int fired = 0;
    QTimer::singleShot(20, [&] { ++fired; });

    pump.pausa(0); // does not wait for the timer
    EXPECT_EQ(fired, 0);

    int64_t start = pump.nowMs();
    pump.pausa(0.25);
    EXPECT_EQ(fired, 1); // events ran during the pause
    EXPECT_GE(pump.nowMs() - start, 250);
}

TEST(Pausa, WaitUntilEndsOnTheConditionOrTheTimeout) {
    QtTestApp();
    QtEventPump pump;
    bool flag = false;
    QTimer::singleShot(10, [&] { flag = true; });
    EXPECT_TRUE(pump.waitUntil([&] { return flag; }, 5000, true));
    EXPECT_FALSE(pump.waitUntil([] { return false; }, 30, false));
}
