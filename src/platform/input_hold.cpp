#include "platform/input_hold.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
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

// A held mouse event. A clone would share its point with the pointing device, which the next real mouse
// event moves: a release held behind a box answered with the mouse would come back where that answer was
// clicked, off the key it was aimed at, and the key would not act. This copy keeps a point of its own, and
// the event sent is made from it just before it goes, as the toolkit makes a real one.
class HeldMouseEvent : public QMouseEvent {
  public:
    explicit HeldMouseEvent(const QMouseEvent& e) : QMouseEvent(e) {
        const QEventPoint& p = e.points().first();
        m_points.first() = QEventPoint(p.id(), p.state(), p.scenePosition(), p.globalPosition());
    }
    // At a window its own position is the scene position.
    std::unique_ptr<QEvent> toSend() const {
        auto e = std::make_unique<HeldMouseEvent>(type(), scenePosition(), globalPosition(), *this);
        e->setTimestamp(timestamp());
        e->m_doubleClick = m_doubleClick;
        return e;
    }
    HeldMouseEvent(QEvent::Type type, QPointF scene, QPointF global, const QMouseEvent& e)
        : QMouseEvent(type, scene, scene, global, e.button(), e.buttons(), e.modifiers(), e.source(),
                      e.pointingDevice()) {}
};

std::unique_ptr<QEvent> heldCopy(const QEvent* event) {
    if (const auto* mouse = dynamic_cast<const QMouseEvent*>(event))
        return std::make_unique<HeldMouseEvent>(*mouse);
    return std::unique_ptr<QEvent>(event->clone());
}

} // namespace

InputHold::InputHold() : thread_(QThread::currentThread()) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() {
    if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
}

void InputHold::takeCloseOf(QObject* window, std::function<WaitClose()> duringWait,
                            std::function<bool()> carryOut) {
    window_ = window;
    duringWait_ = std::move(duringWait);
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

void InputHold::pausaBegins() {
    if (waits_ > 0) return;
    if (atPausa_) {
        if (held_.empty()) level_ = loopLevel();
        held_.push_front({nullptr, nullptr, false, std::exchange(atPausa_, {})});
    }
    if (!held_.empty()) scheduleRelease(0);
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
    if (type == QEvent::Close) return holdClose(receiver, event);
    if (type != QEvent::Shortcut && !(receiver->isWindowType() && isUserInput(type))) return false;
    if (passes_ && passes_(receiver, event)) return false;
    for (const auto& [window, passes] : windowPasses_)
        if (window && passes(receiver, event)) return false;
    if (keyAt_ && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
                   type == QEvent::MouseButtonRelease))
        if (holdKeyClick(receiver, static_cast<const QMouseEvent&>(*event))) return true;
    hold(receiver, heldCopy(event));
    return true;
}

bool InputHold::holdClose(QObject* receiver, QEvent* event) {
    if (receiver == window_) {
        if (carryingOut_) return false;
        event->ignore();
        if (mainCloseHeld_) return true; // one close is taken already
        const WaitClose how = duringWait_ ? duringWait_() : WaitClose::EndsWait;
        if (how == WaitClose::Refused) return true;
        mainCloseHeld_ = true;
        closePending_ = how == WaitClose::EndsWait;
        hold(receiver, nullptr, true);
        return true;
    }
    // A window the user closes waits its turn; one that the program closes goes now.
    if (!event->spontaneous() || !receiver->isWidgetType()) return false;
    event->ignore();
    hold(receiver, nullptr);
    return true;
}

// A left press on a key is held as a click on it, in its place among the input; its release, held as well,
// tells whether the click was made, released on the key it was pressed on, as the toolkit judges a click.
// The double click that follows a double click's second press belongs to that press's click.
bool InputHold::holdKeyClick(QObject* receiver, const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) return false;
    if (event.type() == QEvent::MouseButtonDblClick) return !openClick_.expired();
    if (event.type() == QEvent::MouseButtonRelease) {
        const std::shared_ptr<KeyClick> open = std::exchange(openClick_, {}).lock();
        if (!open) return false;
        const bool onKey =
            receiver == open->receiver && keyAt_(receiver, event.position()).key == open->key.key;
        open->state = onKey ? KeyClick::Clicked : KeyClick::Missed;
        return true;
    }
    Key key = keyAt_(receiver, event.position());
    if (!key.key || held_.size() >= MostHeld) return false;
    auto click = std::make_shared<KeyClick>(KeyClick{std::move(key), receiver, heldCopy(&event)});
    openClick_ = click;
    held_.push_back({receiver, nullptr, false, {}, std::move(click)});
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
    QTimer::singleShot(afterMs, this, [this] { release(); });
}

// Everything held goes at once, in order, at the first pass of the event loop after the wait, and never
// from inside another request's wait: between two requests whatever came during the first has arrived.
// An event whose handler sends a request lets the rest through once that request's wait has ended, from
// the handler's next pass of the event loop or after the handler.
void InputHold::release() {
    releaseScheduled_ = false;
    while (!held_.empty() && waits_ == 0) { // else that wait's end releases the rest
        if (loopLevel() > level_) {
            scheduleRelease(ModalRecheckMs);
            return;
        }
        deliverFront();
    }
}

void InputHold::deliverFront() {
    Held next = std::move(held_.front());
    held_.pop_front();
    if (next.call) {
        next.call();
        return;
    }
    if (next.click) {
        deliverClick(next);
        return;
    }
    if (next.mainClose) closePending_ = mainCloseHeld_ = false;
    if (!next.receiver) return;
    if (next.mainClose) {
        carryingOut_ = true;
        const bool closed = carryOut_ && carryOut_();
        carryingOut_ = false;
        if (closed) held_.clear(); // what came after the close would act on a closed program
    } else if (!next.event) {
        QMetaObject::invokeMethod(next.receiver, "close");
    } else {
        send(next.receiver, std::move(next.event));
    }
}

// A click on a key acts in its turn through the key's call, and one released off its key does nothing. A
// press whose release has not come yet goes to the key as it came, so that the release, once it comes,
// ends the click as the toolkit ends any; on a key grey when it was pressed it goes nowhere.
void InputHold::deliverClick(const Held& next) {
    KeyClick& click = *next.click;
    if (click.state == KeyClick::Clicked && click.key.click) click.key.click();
    if (click.state != KeyClick::Pressed || !click.key.click || !next.receiver) return;
    openClick_.reset();
    send(next.receiver, std::move(click.press));
}

void InputHold::send(QObject* receiver, std::unique_ptr<QEvent> event) {
    if (const auto* mouse = dynamic_cast<const HeldMouseEvent*>(event.get())) event = mouse->toSend();
    const QEvent* outer = std::exchange(delivering_, event.get());
    QCoreApplication::sendEvent(receiver, event.get());
    delivering_ = outer;
}
