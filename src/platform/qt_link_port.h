#pragma once
#include <QSerialPort>

#include "core/link_port.h"
#include "platform/bounded_inbox.h"
#include "platform/tcp_stream.h"

// LinkPort on a QSerialPort (serial channel) and a TcpStream (Ethernet channel); one is in use at a time.
// Received bytes wait in a BoundedInbox: what nobody reads is dropped and reported through
// onInputDropped at the next request, read or close.
class QtLinkPort : public LinkPort {
  public:
    QtLinkPort();
    ~QtLinkPort() override;

    bool openSerial(const std::string& device, const std::string& settings, bool rtsHandshake) override;
    void connectTcp(const std::string& host, uint16_t port) override;
    void close() override;
    bool isSerial() const override { return serialMode_; }
    bool isConnected() const override;
    bool failed() const override { return failed_; }
    bool write(const std::string& bytes) override;
    std::string readAll() override;
    void discardInput() override;
    bool waitForBytes(int64_t timeoutUs) override;
    std::string error() const override { return error_; }

  private:
    void closeSerial();
    void pullSerial();
    void reportDropped();
    void linkLost(const QString& reason);
    void onSerialError(QSerialPort::SerialPortError e);

    QSerialPort serial_;
    TcpStream tcp_;
    bool serialMode_ = false;
    bool failed_ = false;
    std::string error_;
    BoundedInbox serialInbox_; // bytes taken from the port (and read past it by waitForBytes)
};

// Applies a settings text such as "9600,n,8,1" (speed, parity n/e/o/m/s, data bits, stop bits);
// false when a part is not understood.
bool ApplySerialSettings(QSerialPort& port, const std::string& settings);
// Why the port on device did not open, in words the user can act on.
std::string SerialOpenFailure(QSerialPort::SerialPortError error, const QString& systemText,
                              const std::string& device);
