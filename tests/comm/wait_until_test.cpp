#include <gtest/gtest.h>

#include <QTimer>

#include "platform/qt_event_pump.h"
#include "support/qt_test_app.h"

// waitUntil ends on its condition while events run, or at its time-out with false. (How long pausa waits
// is caught by the late-answer and modem dial tests, which count on it.)
TEST(Pausa, WaitUntilEndsOnTheConditionOrTheTimeout) {
    QtTestApp();
    QtEventPump pump;
    int fired = 0;
    QTimer::singleShot(10, [&] { ++fired; });
    EXPECT_TRUE(pump.waitUntil([&] { return fired == 1; }, 5000, true));
    EXPECT_FALSE(pump.waitUntil([] { return false; }, 30, false));
}
