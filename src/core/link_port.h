#pragma once
// The device link as the Modbus master sees it: one serial port or one TCP connection at a time.
// Bytes are single-byte strings (character code = byte value).
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class LinkPort {
  public:
    virtual ~LinkPort() = default;

    // Opens a serial device with a settings text such as "9600,n,8,1"; rtsHandshake for the modem link.
    // False when the port cannot be opened; error() then says why.
    virtual bool openSerial(const std::string& device, const std::string& settings, bool rtsHandshake) = 0;
    // Starts connecting; isConnected() turns true once the connection stands, failed() when it gave up.
    virtual void connectTcp(const std::string& host, uint16_t port) = 0;
    // Closes the serial port or aborts the TCP connection (also one still connecting).
    virtual void close() = 0;

    virtual bool isSerial() const = 0;
    // Serial: the port is open. TCP: the connection stands.
    virtual bool isConnected() const = 0;
    // The last connect attempt ended without a connection.
    virtual bool failed() const = 0;

    // Hands the bytes over in one piece; false (and error()) when the link refused them.
    virtual bool write(const std::string& bytes) = 0;
    // Every byte received and not read yet.
    virtual std::string readAll() = 0;
    // Throws away every byte received so far, including what the system holds but has not delivered.
    virtual void discardInput() = 0;
    virtual std::string error() const = 0;
    // Sleeps up to timeoutUs microseconds until bytes arrive (announced through onBytesReceived) or the
    // link breaks, without running any other event. False when this link cannot wait on its own just now;
    // the caller then waits in the event loop.
    virtual bool waitForBytes(int64_t timeoutUs) {
        (void)timeoutUs;
        return false;
    }

    // Raised on every arrival of bytes (they stay until readAll).
    std::function<void()> onBytesReceived;
    // Raised at the next request, read or close with the count of bytes that arrived while nothing read
    // them and were dropped (the link holds only a few KB that nobody reads).
    std::function<void(size_t count)> onInputDropped;
    // Raised once when an open link breaks (device vanished, peer closed); the link is closed by then.
    std::function<void(const std::string& reason)> onLinkLost;
};
