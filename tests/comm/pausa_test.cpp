#include <gtest/gtest.h>

#include <QTimer>

#include "platform/qt_event_pump.h"
#include "support/qt_test_app.h"

// Pausa waits its time while events run, and zero returns at once; waitUntil ends on its condition or
// at its time-out.
TEST(Pausa, WaitsWhileEventsRunAndWaitUntilEndsOnTheConditionOrTheTimeout) {
    QtTestApp();
    QtEventPump pump;
    int fired = 0;
    QTimer::singleShot(20, [&] { ++fired; });
    pump.pausa(0);
    EXPECT_EQ(fired, 0);
    const int64_t start = pump.nowMs();
    pump.pausa(0.25);
    EXPECT_EQ(fired, 1);
    EXPECT_GE(pump.nowMs() - start, 250);

    QTimer::singleShot(10, [&] { ++fired; });
    EXPECT_TRUE(pump.waitUntil([&] { return fired == 2; }, 5000, true));
    EXPECT_FALSE(pump.waitUntil([] { return false; }, 30, false));
}
