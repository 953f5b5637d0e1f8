#include "platform/qt_datagram_socket.h"

#include <QNetworkDatagram>

namespace {

constexpr int DatagramsPerTurn = 64;
constexpr auto Shared = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

std::string text(const QString& s) {
    return s.toStdString();
}

} // namespace

QtDatagramSocket::QtDatagramSocket() {
    connect(&unicast_, &QUdpSocket::readyRead, this, [this] { drain(unicast_, false); });
    connect(&any_, &QUdpSocket::readyRead, this, [this] { drain(any_, true); });
}

BindResult QtDatagramSocket::bind(const std::string& address, uint16_t port) {
    close();
    QHostAddress host;
    if (!host.setAddress(QString::fromStdString(address)) ||
        host.protocol() != QAbstractSocket::IPv4Protocol) {
        error_ = "not an IPv4 address";
        return BindResult::Failed;
    }
    if (!unicast_.bind(host, port, Shared)) {
        error_ = text(unicast_.errorString());
        return unicast_.error() == QAbstractSocket::SocketAccessError ? BindResult::AccessDenied
                                                                      : BindResult::Failed;
    }
    // Without the second socket the search still hears every answer sent to the address itself.
    if (host != QHostAddress(QHostAddress::AnyIPv4))
        any_.bind(QHostAddress::AnyIPv4, unicast_.localPort(), Shared);
    return BindResult::Ok;
}

bool QtDatagramSocket::isBound() const {
    return unicast_.state() == QAbstractSocket::BoundState;
}

std::string QtDatagramSocket::localAddress() const {
    return isBound() ? text(unicast_.localAddress().toString()) : std::string{};
}

uint16_t QtDatagramSocket::localPort() const {
    return unicast_.localPort();
}

bool QtDatagramSocket::sendTo(const std::string& bytes, const std::string& host, uint16_t port) {
    QHostAddress to;
    if (!to.setAddress(QString::fromStdString(host)) || to.protocol() != QAbstractSocket::IPv4Protocol) {
        error_ = "not an IPv4 address: " + host;
        return false;
    }
    if (!isBound() && !unicast_.bind(QHostAddress::AnyIPv4, 0, Shared)) {
        error_ = text(unicast_.errorString());
        return false;
    }
    const QByteArray data(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (unicast_.writeDatagram(data, to, port) != data.size()) {
        error_ = text(unicast_.errorString());
        return false;
    }
    return true;
}

void QtDatagramSocket::close() {
    unicast_.close();
    any_.close();
}

void QtDatagramSocket::drain(QUdpSocket& socket, bool broadcastsOnly) {
    // A bounded number per turn of the event loop, so a flood never keeps the window (or a wait's clock)
    // from its turn. Reading re-arms the socket's notifier, so the rest comes on the next turns.
    for (int n = 0; n < DatagramsPerTurn; ++n) {
        if (!socket.hasPendingDatagrams()) return;
        const QNetworkDatagram d = socket.receiveDatagram();
        if (!d.isValid()) return;
        if (broadcastsOnly &&
            d.destinationAddress().isEqual(unicast_.localAddress(), QHostAddress::TolerantConversion))
            continue;
        const QByteArray payload = d.data();
        QHostAddress sender = d.senderAddress();
        bool ok = false;
        const quint32 v4 = sender.toIPv4Address(&ok);
        if (ok) sender = QHostAddress(v4);
        if (onDatagram)
            onDatagram(std::string(payload.constData(), static_cast<size_t>(payload.size())),
                       text(sender.toString()));
    }
}
