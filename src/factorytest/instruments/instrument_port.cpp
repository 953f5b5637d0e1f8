#include "factorytest/instruments/instrument_port.h"

#include <charconv>
#include <chrono>
#include <thread>

#include "comm/link.h"
#include "core/link_port.h"
#include "factorytest/instruments/instrument_commands.h"

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
            if (ec == std::errc() && p == item.data() + eq && number > 0) devices[number] = item.substr(eq + 1);
        }
        start = end + 1;
    }
    return devices;
}

std::string ComDevice(const ComDevices& devices, int number) {
    auto it = devices.find(number);
    return it != devices.end() ? it->second : ComDevicePath(number);
}

bool HoldsText(const std::string& line) {
    return line.find_first_not_of(" \t") != std::string::npos;
}

namespace {

// Follows the line through the next byte: head is the text since the last line end, as lineHead() tells
// it. True when the byte is a line end that cut text other than blanks, which is then in ended.
bool FollowLine(char c, std::string& head, std::string& ended) {
    if (c == '\r' || c == '\n') {
        const bool cut = HoldsText(head);
        if (cut) ended = head;
        head.clear();
        return cut;
    }
    if (IsLineText(c) && head.size() < MaxReplyBytes) head += c;
    return false;
}

} // namespace

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
    lineHead_.clear();
    lineEnd_.reset();
    if (link_.openSerial(path, Settings, false)) return true;
    error_ = path + ": " + link_.error();
    return false;
}

void InstrumentPort::close() {
    link_.close();
}

bool InstrumentPort::send(const std::string& text) {
    return isOpen() && link_.write(text);
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

std::string InstrumentPort::take() {
    if (!isOpen()) return {};
    std::string bytes = link_.readAll();
    // The link announces every arrival (QtLinkPort on readyRead and in its own waits): what is read came
    // no later than its last announcement, or than now when it announced none since the last read.
    const Clock::time_point at = arrival_->announced ? arrival_->at : Clock::now();
    arrival_->announced = false;
    std::string ended;
    for (const char c : bytes)
        if (FollowLine(c, lineHead_, ended)) lineEnd_ = LineEnd{at, ended};
    return bytes;
}

void InstrumentPort::linesTakenBefore(const std::string& rest) {
    lineEnd_.reset();
    std::string head, ended;
    for (const char c : rest)
        if (FollowLine(c, head, ended)) lineEnd_ = LineEnd{Clock::now(), ended};
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
