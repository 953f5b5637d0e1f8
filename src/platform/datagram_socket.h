#pragma once
// One UDP endpoint as the device search sees it: bind to a local address and port, send a datagram to
// a host and port, and one event per datagram received with its payload and the sender's IPv4 address.
// Payloads are single-byte strings (character code = byte value).
#include <cstdint>
#include <functional>
#include <string>

enum class BindResult { Ok, AccessDenied, Failed };

class DatagramSocket {
  public:
    virtual ~DatagramSocket() = default;
    // Port 0 takes a free port. AccessDenied: the port is privileged for this program.
    virtual BindResult bind(const std::string& address, uint16_t port) = 0;
    virtual bool isBound() const = 0;
    virtual std::string localAddress() const = 0;
    virtual uint16_t localPort() const = 0;
    // False (and error()) when the host is no address or the system refused the datagram.
    virtual bool sendTo(const std::string& bytes, const std::string& host, uint16_t port) = 0;
    // Harmless when closed; nothing is received afterwards.
    virtual void close() = 0;
    virtual std::string error() const = 0;

    std::function<void(const std::string& payload, const std::string& sender)> onDatagram;
};
