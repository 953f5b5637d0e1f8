#include "platform/tcp_stream.h"

#include <QHostAddress>
#include <QHostInfo>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/descriptor_wait.h"

namespace {

std::string systemText(int error) { return std::strerror(error); }

bool wouldBlock(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

} // namespace

TcpStream::TcpStream() = default;

TcpStream::~TcpStream() {
    onLost = nullptr;
    close();
}

void TcpStream::connectTo(const std::string& host, uint16_t port) {
    close();
    QHostAddress address;
    if (address.setAddress(QString::fromStdString(host))) {
        connectToAddress(address, port);
        return;
    }
    state_ = State::LookingUp;
    lookupId_ = QHostInfo::lookupHost(QString::fromStdString(host), &context_, [this, port](const QHostInfo& info) {
        lookupId_ = -1;
        if (state_ != State::LookingUp) return;
        const QList<QHostAddress> found = info.addresses();
        if (info.error() != QHostInfo::NoError || found.isEmpty()) {
            fail(info.errorString().toStdString());
            return;
        }
        // Devices speak IPv4; a name that also has an IPv6 address (localhost) is reached over IPv4.
        const auto v4 = std::find_if(found.begin(), found.end(), [](const QHostAddress& a) {
            return a.protocol() == QAbstractSocket::IPv4Protocol;
        });
        connectToAddress(v4 != found.end() ? *v4 : found.front(), port);
    });
}

void TcpStream::connectToAddress(const QHostAddress& address, uint16_t port) {
    sockaddr_storage to{};
    socklen_t length = 0;
    if (address.protocol() == QAbstractSocket::IPv6Protocol) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&to);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(port);
        const Q_IPV6ADDR bytes = address.toIPv6Address();
        std::memcpy(&in6->sin6_addr, bytes.c, sizeof bytes.c);
        length = sizeof *in6;
    } else {
        auto* in4 = reinterpret_cast<sockaddr_in*>(&to);
        in4->sin_family = AF_INET;
        in4->sin_port = htons(port);
        in4->sin_addr.s_addr = htonl(address.toIPv4Address());
        length = sizeof *in4;
    }
    fd_ = ::socket(to.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        fail(systemText(errno));
        return;
    }
    state_ = State::Connecting;
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&to), length) == 0) {
        connectFinished();
    } else if (errno == EINPROGRESS) {
        writeNotifier_.setSocket(fd_);
        writeNotifier_.setEnabled(true);
    } else {
        fail(systemText(errno));
    }
}

void TcpStream::connectFinished() {
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) != 0) error = errno;
    if (error != 0) {
        fail(systemText(error));
        return;
    }
    state_ = State::Connected;
    writeNotifier_.setEnabled(false);
    // Requests are small and each waits for its answer: nothing is gained by holding them back.
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    readNotifier_.setSocket(fd_);
    readNotifier_.setEnabled(true);
    if (onConnected) onConnected();
}

void TcpStream::close() {
    if (lookupId_ >= 0) QHostInfo::abortHostLookup(lookupId_);
    lookupId_ = -1;
    readNotifier_.setEnabled(false);
    writeNotifier_.setEnabled(false);
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    state_ = State::Idle;
    inbox_.clear();
    outbox_.clear();
}

bool TcpStream::write(const char* bytes, size_t size) {
    if (state_ != State::Connected) return false;
    size_t sent = 0;
    if (outbox_.empty()) {
        const ssize_t n = ::send(fd_, bytes, size, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0 && !wouldBlock(errno)) {
            lose(systemText(errno));
            return false;
        }
        if (n > 0) sent = static_cast<size_t>(n);
    }
    if (sent == size) return true;
    outbox_.append(bytes + sent, size - sent);
    writeNotifier_.setSocket(fd_);
    writeNotifier_.setEnabled(true);
    return true;
}

void TcpStream::readable() {
    char chunk[4096];
    const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
    if (n > 0) {
        inbox_.append(chunk, static_cast<size_t>(n));
        if (onBytesReceived) onBytesReceived();
    } else if (n == 0) {
        lose("connection closed by the device");
    } else if (!wouldBlock(errno)) {
        lose(systemText(errno));
    }
}

void TcpStream::writable() {
    if (state_ == State::Connecting) {
        connectFinished();
        return;
    }
    const ssize_t n = ::send(fd_, outbox_.data(), outbox_.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    if (n < 0) {
        if (!wouldBlock(errno)) lose(systemText(errno));
        return;
    }
    outbox_.erase(0, static_cast<size_t>(n));
    if (outbox_.empty()) writeNotifier_.setEnabled(false);
}

bool TcpStream::waitForBytes(int64_t timeoutUs) {
    if (state_ != State::Connected || !outbox_.empty()) return false;
    const int ready = WaitReadable(fd_, timeoutUs);
    if (ready > 0) readable();
    return ready >= 0;
}

void TcpStream::discardInput() {
    inbox_.clear();
    char chunk[4096];
    for (size_t drained = 0; state_ == State::Connected && drained < BoundedInbox::DrainLimit;) {
        const ssize_t n = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
        // The end of the connection or a broken one is left to the read notifier, which reports it.
        if (n <= 0) break;
        drained += static_cast<size_t>(n);
    }
}

void TcpStream::fail(const std::string& reason) {
    close();
    if (onFailed) onFailed(reason);
}

void TcpStream::lose(const std::string& reason) {
    close();
    if (onLost) onLost(reason);
}
