#include "factorytest/instruments/instrument_port.h"

#include <charconv>
#include <chrono>
#include <thread>
#include <utility>

#include "comm/link.h"
#include "core/link_port.h"

ComDevices ParseComDevices(const std::string& text) {
    ComDevices devices;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        const std::string item = text.substr(start, end - start);
        const size_t eq = item.find('=');
        int number = 0;
        if (eq != std::string::npos && eq + 1 < item.size()) {
            auto [p, ec] = std::from_chars(item.data(), item.data() + eq, number);
            if (ec == std::errc() && p == item.data() + eq && number > 0)
                devices[number] = item.substr(eq + 1);
        }
        start = end + 1;
    }
    return devices;
}

std::string ComDevice(const ComDevices& devices, int number) {
    auto it = devices.find(number);
    return it != devices.end() ? it->second : ComDevicePath(number);
}

InstrumentPort::InstrumentPort(std::string name, LinkPort& link, int number, std::string settings)
    : Name(std::move(name)), Number(number), Settings(std::move(settings)), link_(link) {
    link_.onBytesReceived = [arrival = arrival_] {
        arrival->announced = true;
        arrival->at = Clock::now();
    };
}

bool InstrumentPort::isOpen() const {
    return link_.isConnected();
}

bool InstrumentPort::open(const ComDevices& devices) {
    if (isOpen()) return true;
    if (Number <= 0) {
        error_ = "no port set";
        return false;
    }
    const std::string path = ComDevice(devices, Number);
    lines_ = {};
    unread_.clear();
    lineEnd_.reset();
    if (link_.openSerial(path, Settings, false)) return true;
    error_ = path + ": " + link_.error();
    return false;
}

void InstrumentPort::close() {
    link_.close();
}

bool InstrumentPort::send(const std::string& text) {
    if (!isOpen()) return false;
    lines_.mark();
    return link_.write(text);
}

bool InstrumentPort::sendWhole(const std::string& text) {
    if (!send(text)) return false;
    // Up to twelve bits a byte (start, eight data, parity, two stops) at the speed the settings open
    // with, 300 Bd when they name none, and some milliseconds for an adapter to pass them on.
    int baud = 0;
    std::from_chars(Settings.data(), Settings.data() + Settings.size(), baud);
    const auto bitsPerSecond = static_cast<int64_t>(baud > 0 ? baud : 300);
    const auto bits = static_cast<int64_t>(text.size()) * 12;
    std::this_thread::sleep_for(std::chrono::microseconds(bits * 1'000'000 / bitsPerSecond) +
                                std::chrono::milliseconds(5));
    return true;
}

bool InstrumentPort::receive() {
    if (!isOpen()) return false;
    const std::string bytes = link_.readAll();
    if (bytes.empty()) return false;
    // The link announces every arrival (QtLinkPort on readyRead and in its own waits): what is read came
    // no later than its last announcement, or than now when it announced none since the last read.
    unreadAt_ = arrival_->announced ? arrival_->at : Clock::now();
    arrival_->announced = false;
    unread_ += bytes;
    return true;
}

std::optional<FollowedLine> InstrumentPort::follow(char c) {
    // A line end is timed as it comes, whatever the byte after a CR then tells of it.
    if ((c == '\r' || c == '\n') && HoldsText(lines_.head())) lineEnd_ = LineEnd{unreadAt_, lines_.head()};
    return lines_.follow(c);
}

std::string InstrumentPort::take() {
    receive();
    std::string bytes = std::exchange(unread_, {});
    for (const char c : bytes)
        follow(c);
    return bytes;
}

std::optional<FollowedLine> InstrumentPort::nextLine() {
    for (size_t i = 0; i < unread_.size(); ++i)
        if (auto line = follow(unread_[i])) {
            unread_.erase(0, i + 1);
            lineEnd_.reset();
            return line;
        }
    unread_.clear();
    return std::nullopt;
}

std::optional<FollowedLine> InstrumentPort::lineFellQuiet() {
    auto line = lines_.quiet();
    if (line) lineEnd_.reset();
    return line;
}

void InstrumentPort::clear() {
    // A zero wait moves what the system holds into the link; an instrument that floods the line is
    // left to the next read once ClearLimit bytes went.
    constexpr size_t ClearLimit = 64 * 1024;
    for (size_t cleared = take().size(); cleared < ClearLimit && isOpen() && link_.waitForBytes(0);) {
        const size_t n = take().size();
        if (n == 0) break;
        cleared += n;
    }
}
