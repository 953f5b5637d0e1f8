#include "platform/qt_event_pump.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

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
    QDeadlineTimer deadline(timeoutMs < 0 ? 0 : timeoutMs);
    // A single-shot timer wakes the loop at the deadline; every other wake-up is a real event.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(timeoutMs < 0 ? 0 : timeoutMs);
    QEventLoop loop;
    while (!done()) {
        if (deadline.hasExpired()) return done();
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
