#pragma once
// DatagramSocket on QUdpSocket. Linux does not hand broadcast datagrams to a socket bound to a unicast
// address, so a second socket listens on the any-address at the same port (both shared); it takes only
// what was not addressed to the bound address, so every datagram is delivered once. A limited broadcast
// sent from a socket bound to an address leaves through that address's interface.
#include <QObject>
#include <QUdpSocket>

#include "platform/datagram_socket.h"

class QtDatagramSocket : public QObject, public DatagramSocket {
    Q_OBJECT
  public:
    QtDatagramSocket();
    BindResult bind(const std::string& address, uint16_t port) override;
    bool isBound() const override;
    std::string localAddress() const override;
    uint16_t localPort() const override;
    bool sendTo(const std::string& bytes, const std::string& host, uint16_t port) override;
    void close() override;
    std::string error() const override { return error_; }

  private:
    void drain(QUdpSocket& socket, bool broadcastsOnly);

    QUdpSocket unicast_;
    QUdpSocket any_;
    std::string error_;
};
