#include "platform/qt_link_port.h"

#include <QStringList>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string toBytes(const QByteArray& a) {
    return std::string(a.constData(), static_cast<size_t>(a.size()));
}

constexpr struct {
    char letter;
    QSerialPort::Parity parity;
} ParityLetters[] = {{'n', QSerialPort::NoParity},
                     {'e', QSerialPort::EvenParity},
                     {'o', QSerialPort::OddParity},
                     {'m', QSerialPort::MarkParity},
                     {'s', QSerialPort::SpaceParity}};

} // namespace

bool ApplySerialSettings(QSerialPort& port, const std::string& settings) {
    const QStringList parts = QString::fromLatin1(settings.c_str()).split(',');
    if (parts.size() != 4) return false;
    bool ok[3] = {};
    const int baud = parts[0].trimmed().toInt(&ok[0]);
    const int dataBits = parts[2].trimmed().toInt(&ok[1]);
    const int stopBits = parts[3].trimmed().toInt(&ok[2]);
    const QString parityText = parts[1].trimmed().toLower();
    if (!ok[0] || !ok[1] || !ok[2] || baud <= 0 || dataBits < 5 || dataBits > 8 || stopBits < 1 ||
        stopBits > 2 || parityText.size() != 1)
        return false;
    const auto* parity = std::find_if(std::begin(ParityLetters), std::end(ParityLetters),
                                      [&](const auto& p) { return p.letter == parityText[0].toLatin1(); });
    if (parity == std::end(ParityLetters)) return false;
    // A pseudo-terminal refuses some of these settings (modem lines); that is no reason to refuse the port.
    port.setBaudRate(baud);
    port.setParity(parity->parity);
    port.setDataBits(static_cast<QSerialPort::DataBits>(dataBits));
    port.setStopBits(stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    return true;
}

std::string SerialOpenFailure(QSerialPort::SerialPortError error, const QString& systemText) {
    std::string text = systemText.toStdString();
    if (error == QSerialPort::PermissionError) text += " (the user must be in the dialout group)";
    return text;
}

QtLinkPort::QtLinkPort() {
    QObject::connect(&serial_, &QSerialPort::readyRead, [this] {
        if (onBytesReceived) onBytesReceived();
    });
    QObject::connect(&serial_, &QSerialPort::errorOccurred, [this](auto e) { onSerialError(e); });
    QObject::connect(&tcp_, &QTcpSocket::readyRead, [this] {
        if (onBytesReceived) onBytesReceived();
    });
    QObject::connect(&tcp_, &QTcpSocket::connected, [this] {
        tcpWasConnected_ = true;
        tcp_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    });
    QObject::connect(&tcp_, &QTcpSocket::errorOccurred, [this](auto e) { onTcpError(e); });
    QObject::connect(&tcp_, &QTcpSocket::disconnected, [this] {
        if (tcpWasConnected_) linkLost(QStringLiteral("connection closed by the device"));
    });
}

QtLinkPort::~QtLinkPort() {
    onLinkLost = nullptr;
    onBytesReceived = nullptr;
    close();
}

bool QtLinkPort::openSerial(const std::string& device, const std::string& settings, bool rtsHandshake) {
    close();
    serialMode_ = true;
    error_.clear();
    serial_.setPortName(QString::fromLocal8Bit(device.c_str()));
    if (!serial_.open(QIODevice::ReadWrite)) {
        error_ = SerialOpenFailure(serial_.error(), serial_.errorString());
        return false;
    }
    if (!ApplySerialSettings(serial_, settings)) {
        serial_.close();
        error_ = "invalid settings \"" + settings + "\"";
        return false;
    }
    serial_.setFlowControl(rtsHandshake ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl);
    serial_.clearError();
    return true;
}

void QtLinkPort::connectTcp(const std::string& host, uint16_t port) {
    close();
    serialMode_ = false;
    error_.clear();
    tcp_.connectToHost(QString::fromLatin1(host.c_str()), port);
}

void QtLinkPort::close() {
    failed_ = false;
    if (serial_.isOpen()) serial_.close();
    tcpWasConnected_ = false;
    tcp_.abort();
}

bool QtLinkPort::isConnected() const {
    return serialMode_ ? serial_.isOpen() : tcp_.state() == QAbstractSocket::ConnectedState;
}

bool QtLinkPort::write(const std::string& bytes) {
    QIODevice& device = serialMode_ ? static_cast<QIODevice&>(serial_) : tcp_;
    if (!isConnected()) {
        error_ = "the link is not open";
        return false;
    }
    // A request goes straight to the descriptor when nothing is queued before it: that spares the event
    // loop the write notifier and its wake-ups. Whatever the system does not take at once is queued.
    size_t sent = 0;
    const qint64 queued = serialMode_ ? serial_.bytesToWrite() : tcp_.bytesToWrite();
    if (queued == 0) {
        const int fd = serialMode_ ? serial_.handle() : static_cast<int>(tcp_.socketDescriptor());
        const ssize_t n = serialMode_ ? ::write(fd, bytes.data(), bytes.size())
                                      : ::send(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) sent = static_cast<size_t>(n);
    }
    if (sent == bytes.size()) return true;
    const auto rest = static_cast<qint64>(bytes.size() - sent);
    if (device.write(bytes.data() + sent, rest) != rest) {
        error_ = device.errorString().toStdString();
        return false;
    }
    return true;
}

std::string QtLinkPort::readAll() {
    // A link that closed while an arrival was being announced has nothing left to read.
    QIODevice& device = serialMode_ ? static_cast<QIODevice&>(serial_) : tcp_;
    return device.isOpen() ? toBytes(device.readAll()) : std::string();
}

void QtLinkPort::discardInput() {
    if (!isConnected()) return;
    readAll();
    // Bytes the system holds but has not delivered yet: a zero wait pulls them in without running the
    // event loop. Asked only when the descriptor has some, since a zero wait that finds none counts as
    // an error in Qt.
    const int fd = serialMode_ ? serial_.handle() : static_cast<int>(tcp_.socketDescriptor());
    pollfd p{fd, POLLIN, 0};
    while (isConnected() && ::poll(&p, 1, 0) > 0 && (p.revents & POLLIN)) {
        if (serialMode_)
            serial_.waitForReadyRead(0);
        else
            tcp_.waitForReadyRead(0);
        readAll();
    }
}

void QtLinkPort::linkLost(const QString& reason) {
    error_ = reason.toStdString();
    tcpWasConnected_ = false;
    if (serial_.isOpen()) serial_.close();
    tcp_.abort();
    if (onLinkLost) onLinkLost(error_);
}

void QtLinkPort::onSerialError(QSerialPort::SerialPortError e) {
    // A read error or a lost resource means the device is gone; refused modem-line settings
    // (pseudo-terminals) and time-outs leave the port open.
    if ((e == QSerialPort::ResourceError || e == QSerialPort::ReadError) && serial_.isOpen())
        linkLost(serial_.errorString());
}

void QtLinkPort::onTcpError(QAbstractSocket::SocketError e) {
    if (e == QAbstractSocket::SocketTimeoutError) return;
    if (tcpWasConnected_) {
        linkLost(tcp_.errorString());
        return;
    }
    failed_ = true;
    error_ = e == QAbstractSocket::ConnectionRefusedError ? "Connection refused" : tcp_.errorString().toStdString();
}
