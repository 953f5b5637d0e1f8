#include "platform/qt_event_pump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>

void QtEventPump::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::pausa(double seconds) {
    if (seconds <= 0) {
        processEvents();
        return;
    }
    waitUntil([] { return false; }, static_cast<int>(seconds * 1000.0 + 0.5), false);
}

bool QtEventPump::waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) {
    QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
    if (excludeUserInput) flags |= QEventLoop::ExcludeUserInputEvents;
    QDeadlineTimer deadline(timeoutMs < 0 ? 0 : timeoutMs, Qt::PreciseTimer);
    // A single-shot timer wakes the loop at the deadline; every other wake-up is a real event. The timer
    // is re-armed for what is left, so an early tick can never leave the loop asleep with no timer.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    QEventLoop loop;
    while (!done()) {
        if (deadline.hasExpired()) return done();
        if (!wake.isActive()) wake.start(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
        loop.processEvents(flags);
    }
    return true;
}

int64_t QtEventPump::nowMs() const {
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}
