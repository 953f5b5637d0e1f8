#include "platform/qt_event_pump.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

// A request's wait, for the input hold.
class RequestWait {
  public:
    explicit RequestWait(InputHold* hold) : hold_(hold) {
        if (hold_) hold_->waitBegins();
    }
    ~RequestWait() {
        if (hold_) hold_->waitEnds();
    }
    RequestWait(const RequestWait&) = delete;
    RequestWait& operator=(const RequestWait&) = delete;

  private:
    InputHold* hold_;
};

} // namespace

QtEventPump::QtEventPump() = default;
QtEventPump::~QtEventPump() = default;

void QtEventPump::processEvents() {
    lastPassUs_ = nowUs();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (closed_) takeQuit();
}

void QtEventPump::pass(QEventLoop::ProcessEventsFlags flags) {
    lastPassUs_ = nowUs();
    if (hold_) hold_->passBegins();
    QThread::currentThread()->eventDispatcher()->processEvents(flags);
}

void QtEventPump::pausa(double seconds) {
    if (hold_) hold_->pausaBegins();
    if (seconds <= 0) {
        processEvents();
        return;
    }
    waitUntil([] { return false; }, static_cast<int>(seconds * 1000.0 + 0.5), false);
}

void QtEventPump::makeHold() {
    hold_ = std::make_unique<InputHold>(); // on first use, once the application exists
}

bool QtEventPump::closing() const {
    return closed_ || (hold_ && hold_->closePending());
}

void QtEventPump::programClosed() {
    closed_ = true;
}

// Closing the main window asked the application to quit. That is taken before anything else can run: a
// box shown on the way out then returns at once, instead of holding the program open with no window.
void QtEventPump::takeQuit() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::Quit);
}

bool QtEventPump::waitUntil(const std::function<bool()>& done, int timeoutMs, bool excludeUserInput) {
    if (done()) return true;
    if (!excludeUserInput && hold_) hold_->pausaBegins();
    const RequestWait request(excludeUserInput ? &inputHold() : nullptr);
    QDeadlineTimer deadline(timeoutMs < 0 ? 0 : timeoutMs, Qt::PreciseTimer);
    if (!wake_) {
        // Made on first use, once the application (and its event dispatcher) exists.
        wake_ = std::make_unique<QTimer>();
        wake_->setSingleShot(true);
        wake_->setTimerType(Qt::PreciseTimer);
    }
    // The timer wakes the loop at the deadline; every other wake-up is a real event. It is re-armed for
    // what is left whenever it is idle or set later than this wait's deadline (a nested wait may have
    // used it), so the loop never sleeps past the deadline with no timer.
    while (!done()) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || cutShort(excludeUserInput)) return done();
        if (!wake_->isActive() || wakeAt_ > deadline) {
            wake_->start(static_cast<int>(left));
            wakeAt_ = deadline;
        }
        pass(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool QtEventPump::waitOnLink(const std::function<bool()>& done, int timeoutMs, LinkPort& link) {
    return waitOnLinkUs(done, int64_t{std::max(timeoutMs, 0)} * 1000, link);
}

bool QtEventPump::waitOnLinkUs(const std::function<bool()>& done, int64_t timeoutUs, LinkPort& link) {
    const int64_t deadline = nowUs() + std::max<int64_t>(timeoutUs, 0);
    const RequestWait request(&inputHold());
    while (!done()) {
        const int64_t now = nowUs();
        if (now >= deadline || cutShort(true)) return done();
        if (now - lastPassUs_ >= EventPassUs) {
            pass(QEventLoop::AllEvents);
            continue;
        }
        // The event loop times in whole milliseconds: its wait is rounded up, never cut short.
        if (!link.waitForBytes(std::min(deadline, lastPassUs_ + EventPassUs) - now))
            return waitUntil(done, static_cast<int>((deadline - now + 999) / 1000), true);
    }
    return true;
}

int64_t QtEventPump::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int64_t QtEventPump::nowUs() const {
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}
