#include "platform/qt_event_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>

QtEventPump::QtEventPump() = default;
QtEventPump::~QtEventPump() = default;

void QtEventPump::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::pausa(double seconds) {
    if (seconds <= 0) {
        processEvents();
        return;
    }
    waitUntil([] { return false; }, static_cast<int>(seconds * 1000.0 + 0.5), false);
}

bool QtEventPump::waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) {
    if (done()) return true;
    QEventLoop::ProcessEventsFlags flags = QEventLoop::WaitForMoreEvents;
    if (excludeUserInput) flags |= QEventLoop::ExcludeUserInputEvents;
    QDeadlineTimer deadline(timeoutMs < 0 ? 0 : timeoutMs, Qt::PreciseTimer);
    if (!wake_) {
        // Made on first use, once the application (and its event dispatcher) exists.
        wake_ = std::make_unique<QTimer>();
        wake_->setSingleShot(true);
        wake_->setTimerType(Qt::PreciseTimer);
    }
    QAbstractEventDispatcher* dispatcher = QThread::currentThread()->eventDispatcher();
    // The timer wakes the loop at the deadline; every other wake-up is a real event. It is re-armed for
    // what is left whenever it is idle or set later than this wait's deadline (a nested wait may have
    // used it), so the loop never sleeps past the deadline with no timer.
    while (!done()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0) return done();
        if (!wake_->isActive() || wakeAt_ > deadline) {
            wake_->start(static_cast<int>(left));
            wakeAt_ = deadline;
        }
        dispatcher->processEvents(flags);
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
