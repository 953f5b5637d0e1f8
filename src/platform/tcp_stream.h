#pragma once
// A TCP connection on a plain non-blocking socket watched by the event loop. An arrival costs one system
// call (the bytes go straight into the inbox), a request one more; what the system does not take at once
// is queued and sent when the socket can take it.
#include <QEvent>
#include <QSocketNotifier>

#include <cstdint>
#include <functional>
#include <utility>
#include <string>

#include "platform/bounded_inbox.h"

class TcpStream {
  public:
    TcpStream();
    ~TcpStream();
    TcpStream(const TcpStream&) = delete;
    TcpStream& operator=(const TcpStream&) = delete;

    // Starts connecting to a numeric address or a host name; the outcome comes through onConnected or
    // onFailed (at once when the system refuses straight away).
    void connectTo(const std::string& host, uint16_t port);
    // Drops the connection (also one still connecting) with everything queued or received.
    void close();
    bool isConnected() const { return state_ == State::Connected; }
    // False (and the reason through onLost) when the connection broke.
    bool write(const char* bytes, size_t size);
    bool hasQueuedOutput() const { return !outbox_.empty(); }
    // Every byte received and not taken yet (the newest BoundedInbox::Limit at most).
    std::string take() { return inbox_.take(); }
    // The bytes dropped since the last call because nobody took them.
    size_t takeDropped() { return inbox_.takeDropped(); }
    // Throws away what was received and what the system holds, up to BoundedInbox::DrainLimit (one call
    // when it holds nothing).
    void discardInput();
    // Sleeps on the socket up to timeoutUs microseconds and takes what arrives, as the read notifier would;
    // false when the stream is not connected or has output queued (that needs the event loop's write notifier).
    bool waitForBytes(int64_t timeoutUs);

    std::function<void()> onConnected;
    std::function<void(const std::string& reason)> onFailed;
    std::function<void()> onBytesReceived;
    // Raised when the open connection breaks; the stream is closed by then.
    std::function<void(const std::string& reason)> onLost;

  private:
    // A notifier that calls its stream's handler straight from the event, without a signal in between:
    // it runs once per arrival.
    class Watch : public QSocketNotifier {
      public:
        Watch(Type type, TcpStream& stream, void (TcpStream::*handler)())
            : QSocketNotifier(type), stream_(stream), handler_(handler) {}

      protected:
        bool event(QEvent* e) override {
            if (e->type() != QEvent::SockAct) return QSocketNotifier::event(e);
            (stream_.*handler_)();
            return true;
        }

      private:
        TcpStream& stream_;
        void (TcpStream::*handler_)();
    };
    enum class State { Idle, LookingUp, Connecting, Connected };
    void connectToAddress(const class QHostAddress& address, uint16_t port);
    void connectFinished();
    void readable();
    void writable();
    void fail(const std::string& reason);
    void lose(const std::string& reason);

    int fd_ = -1;
    State state_ = State::Idle;
    int lookupId_ = -1;
    Watch readNotifier_{QSocketNotifier::Read, *this, &TcpStream::readable};
    Watch writeNotifier_{QSocketNotifier::Write, *this, &TcpStream::writable};
    QObject context_; // receives the host lookup's result; gone with the stream
    BoundedInbox inbox_;
    std::string outbox_;
};
