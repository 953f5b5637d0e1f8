#pragma once
#include <QObject>
#include <QPointer>
#include <QPointF>

#include <deque>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QEvent;
class QMouseEvent;
class QThread;

// Holds the user's input while a request waits for its answer: the windows keep painting and the timers
// keep running, but clicks, keys and the closes of other windows wait for the request's end and are then
// delivered, all of them, in the order they came. The toolkit's own holding would also hold the close of
// the main window, so every event passes the event loop and this application-wide filter does the holding.
// A close of the main window is not held unless the window says so: it ends the wait (the request fails
// as not answered), and is carried out in its turn among the held input, once the request has returned.
// Modal boxes opened meanwhile (an event loop of their own) take their input as usual, and so does what
// letThrough names (the main window's menus, so that Project > Exit reaches the close).
class InputHold : public QObject {
  public:
    InputHold();
    ~InputHold() override;

    // What a close of the main window asked while a request waits does.
    enum class WaitClose {
        Refused,  // refused and told already: the wait goes on
        EndsWait, // the wait ends at once; the close is carried out once the request has returned
        AfterWait // the wait goes on; the close takes its turn among the held input after it
    };
    // The window whose close is taken during a request's wait: duringWait says how, carryOut closes it and
    // says whether it closed. Once it has, the input held after the close goes with the program.
    void takeCloseOf(QObject* window, std::function<WaitClose()> duringWait, std::function<bool()> carryOut);
    // Input that passes while a request waits.
    void letThrough(std::function<bool(QObject* receiver, QEvent* event)> passes);
    // Input that passes as well, set for one window (empty: none) and forgotten with it: a tool window's
    // Stop and close box, which end the tool's own request at once.
    void letThroughFor(QObject* window, std::function<bool(QObject* receiver, QEvent* event)> passes);
    // The keys of a window's toolbar: a click held on one comes back as the call the key gives, not as mouse
    // events, so that the toolkit never judges it by how the input before it left the key. keyAt names the
    // key under a point of a window (none: no key there); a key grey when clicked gives no call, and its
    // click does nothing, whenever it comes back.
    struct Key {
        const QObject* key = nullptr;
        std::function<void()> click;
    };
    void takeKeyClicks(std::function<Key(QObject* receiver, QPointF position)> keyAt) {
        keyAt_ = std::move(keyAt);
    }
    // Input is being held; afterHeldInput runs a call in its turn after it, as a click would run.
    bool holdsInput() const;
    void afterHeldInput(std::function<void()> call);
    // Around a request's wait (waits may nest), and before each pass of the event loop; a request that
    // needs no pass costs no more than this.
    void waitBegins() {
        if (waits_++ == 0 && held_.empty()) level_ = LevelUnknown;
    }
    void waitEnds() {
        if (--waits_ == 0 && !held_.empty()) scheduleRelease(0);
    }
    void passBegins() {
        if (waits_ > 0 && level_ == LevelUnknown) level_ = loopLevel();
    }
    // A Pausa begins: what is held goes now, so that a key held behind the one that started a polling
    // loop acts inside that loop, as if pressed while it runs. atNextPausa leaves a call to go first, ahead
    // of what is held: the keys that waited for a command behind such a key.
    void pausaBegins();
    void atNextPausa(std::function<void()> call) { atPausa_ = std::move(call); }
    // A close that ended a request's wait is not yet carried out: no request may wait meanwhile.
    bool closePending() const { return closePending_; }

    static constexpr size_t MostHeld = 4096; // input past this during one wait is dropped

  protected:
    bool eventFilter(QObject* receiver, QEvent* event) override;

  private:
    // A press held on a key, and what became of it once its release came.
    struct KeyClick {
        Key key;
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> press;
        enum { Pressed, Clicked, Missed } state = Pressed;
    };
    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;        // null: close the receiver
        bool mainClose = false;               // the close of the main window, taken during a wait
        std::function<void()> call;           // set: run it (nothing else is)
        std::shared_ptr<KeyClick> click = {}; // set: a click on a key
    };
    bool holdClose(QObject* receiver, QEvent* event);
    bool holdKeyClick(QObject* receiver, const QMouseEvent& event);
    void deliverClick(const Held& next);
    void send(QObject* receiver, std::unique_ptr<QEvent> event);
    void hold(QObject* receiver, std::unique_ptr<QEvent> event, bool mainClose = false);
    void scheduleRelease(int afterMs);
    void release();
    void deliverFront();
    int loopLevel() const;

    QThread* const thread_; // the application's, where the waits run
    QPointer<QObject> window_;
    std::function<WaitClose()> duringWait_;
    std::function<bool()> carryOut_;
    std::function<bool(QObject*, QEvent*)> passes_;
    std::vector<std::pair<QPointer<QObject>, std::function<bool(QObject*, QEvent*)>>> windowPasses_;
    std::function<Key(QObject*, QPointF)> keyAt_;
    std::weak_ptr<KeyClick> openClick_; // a held press on a key whose release has not come yet
    std::deque<Held> held_;
    std::function<void()> atPausa_;
    int waits_ = 0;
    static constexpr int LevelUnknown = -1;
    int level_ = LevelUnknown; // the event-loop level of the outermost wait, from its first pass on
    const QEvent* delivering_ = nullptr;
    bool carryingOut_ = false; // the taken close is being carried out
    bool mainCloseHeld_ = false;
    bool closePending_ = false;
    bool releaseScheduled_ = false;
};
