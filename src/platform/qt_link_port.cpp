#include "platform/qt_link_port.h"

#include <QStringList>

#include <cerrno>

#include <poll.h>
#include <unistd.h>

#include "platform/descriptor_wait.h"

namespace {

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

std::string SerialOpenFailure(QSerialPort::SerialPortError error, const QString& systemText,
                              const std::string& device) {
    std::string text = systemText.toStdString();
    if (error != QSerialPort::PermissionError) return text;
    // A device this user may open that still refused is locked by the program using it.
    const bool mayOpen = ::access(device.c_str(), R_OK | W_OK) == 0;
    return text +
           (mayOpen ? " (another program is using the device)" : " (the user must be in the dialout group)");
}

QtLinkPort::QtLinkPort() {
    QObject::connect(&serial_, &QSerialPort::readyRead, [this] {
        pullSerial();
        if (onBytesReceived) onBytesReceived();
    });
    QObject::connect(&serial_, &QSerialPort::errorOccurred, [this](auto e) { onSerialError(e); });
    tcp_.onBytesReceived = [this] {
        if (onBytesReceived) onBytesReceived();
    };
    tcp_.onFailed = [this](const std::string& reason) {
        failed_ = true;
        error_ = reason;
    };
    tcp_.onLost = [this](const std::string& reason) { linkLost(QString::fromStdString(reason)); };
}

QtLinkPort::~QtLinkPort() {
    onLinkLost = nullptr;
    onBytesReceived = nullptr;
    onInputDropped = nullptr;
    close();
}

bool QtLinkPort::openSerial(const std::string& device, const std::string& settings, bool rtsHandshake) {
    close();
    serialMode_ = true;
    error_.clear();
    serial_.setPortName(QString::fromLocal8Bit(device.c_str()));
    if (!serial_.open(QIODevice::ReadWrite)) {
        error_ = SerialOpenFailure(serial_.error(), serial_.errorString(), device);
        return false;
    }
    if (!ApplySerialSettings(serial_, settings)) {
        closeSerial();
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
    tcp_.connectTo(host, port);
}

void QtLinkPort::close() {
    reportDropped();
    failed_ = false;
    serialInbox_.clear();
    closeSerial();
    tcp_.close();
}

// QSerialPort closes the device before it removes the device's lock file. When that close is the last one
// on a pseudo-terminal, the system hands its number to the next program that asks for one, which then
// finds this program's lock on the name and cannot open its own terminal. A second descriptor held until
// the lock is gone keeps the device ours for as long as the lock says so.
void QtLinkPort::closeSerial() {
    if (!serial_.isOpen()) return;
    const int hold = ::dup(serial_.handle());
    serial_.close();
    if (hold >= 0) ::close(hold);
}

bool QtLinkPort::isConnected() const {
    return serialMode_ ? serial_.isOpen() : tcp_.isConnected();
}

bool QtLinkPort::write(const std::string& bytes) {
    reportDropped();
    if (!isConnected()) {
        error_ = "the link is not open";
        return false;
    }
    if (!serialMode_) return tcp_.write(bytes.data(), bytes.size());
    // A request goes straight to the descriptor when nothing is queued before it: that spares the event
    // loop the write notifier and its wake-ups. Whatever the system does not take at once is queued.
    size_t sent = 0;
    if (serial_.bytesToWrite() == 0) {
        const ssize_t n = ::write(serial_.handle(), bytes.data(), bytes.size());
        if (n > 0) sent = static_cast<size_t>(n);
    }
    if (sent == bytes.size()) return true;
    const auto rest = static_cast<qint64>(bytes.size() - sent);
    if (serial_.write(bytes.data() + sent, rest) != rest) {
        error_ = serial_.errorString().toStdString();
        return false;
    }
    return true;
}

std::string QtLinkPort::readAll() {
    if (serialMode_) pullSerial();
    reportDropped();
    return serialMode_ ? serialInbox_.take() : tcp_.take();
}

// Moves what the port has buffered into the inbox, which bounds it.
void QtLinkPort::pullSerial() {
    char chunk[4096];
    // A port that closed while an arrival was being announced has nothing left to read.
    while (serial_.isOpen() && serial_.bytesAvailable() > 0) {
        const qint64 n = serial_.read(chunk, sizeof chunk);
        if (n <= 0) break;
        serialInbox_.append(chunk, static_cast<size_t>(n));
    }
}

void QtLinkPort::reportDropped() {
    const size_t dropped = serialInbox_.takeDropped() + tcp_.takeDropped();
    if (dropped > 0 && onInputDropped) onInputDropped(dropped);
}

void QtLinkPort::discardInput() {
    if (!isConnected()) return;
    if (!serialMode_) {
        tcp_.discardInput();
        return;
    }
    readAll();
    // Bytes the system holds but has not delivered yet: a zero wait pulls them in without running the
    // event loop. Asked only when the descriptor has some, since a zero wait that finds none counts as
    // an error in Qt; a flood is left to the next turn once DrainLimit bytes went.
    pollfd p{serial_.handle(), POLLIN, 0};
    for (size_t drained = 0; drained < BoundedInbox::DrainLimit && serial_.isOpen() && ::poll(&p, 1, 0) > 0 &&
                             (p.revents & POLLIN);) {
        serial_.waitForReadyRead(0);
        drained += readAll().size();
    }
}

bool QtLinkPort::waitForBytes(int64_t timeoutUs) {
    if (!serialMode_) return tcp_.waitForBytes(timeoutUs);
    // Read here only while the port's own buffer is empty: then every byte read here came before any
    // byte the port reads later, and readAll hands them over in that order.
    if (!serial_.isOpen() || serial_.bytesToWrite() > 0 || serial_.bytesAvailable() > 0) return false;
    const int ready = WaitReadable(serial_.handle(), timeoutUs);
    if (ready <= 0) return ready == 0;
    // A descriptor that reports readiness yet delivers nothing (a hung-up terminal) would wake this sleep
    // at once again: the event loop waits instead.
    char chunk[512];
    const ssize_t n = ::read(serial_.handle(), chunk, sizeof chunk);
    if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
    if (n <= 0) return false; // the port reports the end of the line in the event loop
    serialInbox_.append(chunk, static_cast<size_t>(n));
    if (onBytesReceived) onBytesReceived();
    return true;
}

void QtLinkPort::linkLost(const QString& reason) {
    error_ = reason.toStdString();
    closeSerial();
    tcp_.close();
    if (onLinkLost) onLinkLost(error_);
}

void QtLinkPort::onSerialError(QSerialPort::SerialPortError e) {
    // A read error or a lost resource means the device is gone; refused modem-line settings
    // (pseudo-terminals) and time-outs leave the port open. A line that hung up (a removed adapter, a
    // closed terminal) is told as such: the system's text for the failed call after it ("Inappropriate
    // ioctl for device") tells the user nothing.
    if ((e != QSerialPort::ResourceError && e != QSerialPort::ReadError) || !serial_.isOpen()) return;
    pollfd p{serial_.handle(), POLLIN, 0};
    const bool hungUp = ::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL));
    linkLost(hungUp ? QStringLiteral("the serial device hung up") : serial_.errorString());
}
