#include "platform/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <QTimer>

#include <utility>

namespace {

// A held event waits while a modal box runs its own event loop above the wait's; it is looked at again
// after this long.
constexpr int ModalRecheckMs = 50;

// The user's input as the window system hands it to a window.
bool isUserInput(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
        return true;
    default:
        return false;
    }
}

} // namespace

InputHold::InputHold() : thread_(QThread::currentThread()) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void InputHold::takeCloseOf(QObject* window, std::function<bool()> mayEndWait,
                            std::function<void()> carryOut) {
    window_ = window;
    mayEndWait_ = std::move(mayEndWait);
    carryOut_ = std::move(carryOut);
}

void InputHold::letThrough(std::function<bool(QObject*, QEvent*)> passes) {
    passes_ = std::move(passes);
}

void InputHold::letThroughFor(QObject* window, std::function<bool(QObject*, QEvent*)> passes) {
    std::erase_if(windowPasses_, [window](const auto& p) { return !p.first || p.first == window; });
    if (passes) windowPasses_.emplace_back(window, std::move(passes));
}

void InputHold::afterHeldInput(std::function<void()> call) {
    held_.push_back({nullptr, nullptr, false, std::move(call)});
    if (waits_ == 0) scheduleRelease(0);
}

int InputHold::loopLevel() const {
    return thread_->loopLevel();
}

bool InputHold::holdsInput() const {
    return (waits_ > 0 || !held_.empty()) && loopLevel() <= level_;
}

bool InputHold::eventFilter(QObject* receiver, QEvent* event) {
    if (event == delivering_ || !holdsInput()) return false;
    const QEvent::Type type = event->type();
    if (type == QEvent::Close) {
        if (receiver == window_) {
            if (carryingOut_) return false;
            event->ignore();
            if (!closePending_ && (!mayEndWait_ || mayEndWait_())) {
                closePending_ = true;
                hold(receiver, nullptr, true);
            }
            return true;
        }
        // A window the user closes waits its turn; one that the program closes goes now.
        if (!event->spontaneous() || !receiver->isWidgetType()) return false;
        event->ignore();
        hold(receiver, nullptr);
        return true;
    }
    if (type != QEvent::Shortcut && !(receiver->isWindowType() && isUserInput(type))) return false;
    if (passes_ && passes_(receiver, event)) return false;
    for (const auto& [window, passes] : windowPasses_)
        if (window && passes(receiver, event)) return false;
    hold(receiver, std::unique_ptr<QEvent>(event->clone()));
    return true;
}

void InputHold::hold(QObject* receiver, std::unique_ptr<QEvent> event, bool mainClose) {
    if (event && !held_.empty()) {
        // Of a run of pointer moves over one window only the last counts.
        Held& last = held_.back();
        if (event->type() == QEvent::MouseMove && last.event && last.event->type() == QEvent::MouseMove &&
            last.receiver == receiver) {
            last.event = std::move(event);
            return;
        }
    }
    if (!mainClose && held_.size() >= MostHeld) return;
    held_.push_back({receiver, std::move(event), mainClose, {}});
}

void InputHold::scheduleRelease(int afterMs) {
    if (releaseScheduled_) return;
    releaseScheduled_ = true;
    QTimer::singleShot(afterMs, this, [this] { releaseOne(); });
}

// How many held entries from the front make one click or key stroke: the input up to a press and on to
// the next release to the same window, when that release is held already; else the front entry alone.
size_t InputHold::strokeLength() const {
    QEvent::Type release = QEvent::None;
    const QObject* window = nullptr;
    for (size_t i = 0; i < held_.size(); ++i) {
        const Held& h = held_[i];
        if (!h.event || !h.receiver) return 1; // a close, a call or a window gone between keeps its turn
        const QEvent::Type type = h.event->type();
        if (release != QEvent::None) {
            if (h.receiver == window && type == release) return i + 1;
        } else if (type == QEvent::MouseButtonPress || type == QEvent::KeyPress) {
            release = type == QEvent::KeyPress ? QEvent::KeyRelease : QEvent::MouseButtonRelease;
            window = h.receiver;
        }
    }
    return 1;
}

// One held event per pass of the event loop, as the window system would have delivered them, except that
// a click or a key stroke goes whole: a request that the clicked work sends at once must not hold back
// the release that the click acts on. An event whose handler waits lets the next one through from inside
// that wait.
void InputHold::releaseOne() {
    releaseScheduled_ = false;
    if (waits_ > 0 || held_.empty()) return; // the wait's end schedules the release again
    if (loopLevel() > level_) {
        scheduleRelease(ModalRecheckMs);
        return;
    }
    if (strokeLeft_ == 0) strokeLeft_ = strokeLength();
    do
        deliverFront();
    while (strokeLeft_ > 0);
}

void InputHold::deliverFront() {
    Held next = std::move(held_.front());
    held_.pop_front();
    if (strokeLeft_ > 0) --strokeLeft_;
    if (!held_.empty()) scheduleRelease(0);
    if (next.call) {
        next.call();
        return;
    }
    if (next.mainClose) closePending_ = false;
    if (!next.receiver) return;
    if (next.mainClose) {
        carryingOut_ = true;
        if (carryOut_) carryOut_();
        carryingOut_ = false;
    } else if (!next.event) {
        QMetaObject::invokeMethod(next.receiver, "close");
    } else {
        const QEvent* outer = std::exchange(delivering_, next.event.get());
        QCoreApplication::sendEvent(next.receiver, next.event.get());
        delivering_ = outer;
    }
}
