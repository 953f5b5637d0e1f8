#include "support/sim_controller.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <utility>

#include "comm/byte_helpers.h"
#include "support/loopback_listener.h"
#include "support/pty_bridge.h"
#include "support/sim_memory_access.h"

namespace {

constexpr int RtuGapMs = 30; // a pause this long ends a request whose length the function does not tell

void sleepMs(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool writeAll(int fd, const uint8_t* data, size_t n) {
    while (n > 0) {
        const ssize_t w = ::write(fd, data, n);
        if (w < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                pollfd p{fd, POLLOUT, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            return false;
        }
        data += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

// Waits for input on fd or the wake pipe; true when fd is readable.
bool waitReadable(int fd, int wakeFd, int timeoutMs) {
    pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    if (::poll(p, 2, timeoutMs) <= 0) return false;
    if (p[1].revents) return false;
    return (p[0].revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

// Length of an RTU request judged from its first bytes; 0 = not known yet, -1 = unknown function.
int rtuRequestLength(const Bytes& b) {
    if (b.size() < 2) return 0;
    if (b[1] == 3 || b[1] == 4 || b[1] == 6) return 8;
    if (b[1] != 16 && b[1] != 20) return -1;
    if (b.size() < 7) return 0;
    return b[1] == 20 && b[2] != 4 ? 9 : 9 + b[6]; // function 20 carries data on a write only
}

Bytes exceptionAnswer(const Bytes& request, uint8_t code) {
    return {request[0], static_cast<uint8_t>(request[1] | 0x80), code};
}

// The frame with its Modbus CRC-16 appended, low byte first.
Bytes WithCrc(Bytes frame) {
    const Crc16 crc = Crc16Modbus(frame);
    frame.push_back(crc.CrcLo);
    frame.push_back(crc.CrcHi);
    return frame;
}

} // namespace

SimController::SimController(uint8_t node) : node_(node) {
    if (::pipe(wakePipe_) != 0) throw std::runtime_error("pipe");
}

SimController::~SimController() {
    stop();
    ::close(wakePipe_[0]);
    ::close(wakePipe_[1]);
}

uint16_t SimController::startTcp(const std::string& address, uint16_t port) {
    listenFd_ = ListenOnLoopback(port, address.c_str(), 4);
    thread_ = std::thread([this] { run(); });
    return port;
}

std::string SimController::startRtu() {
    std::string path;
    ptyMaster_ = OpenRawPty(path, ptySlaveKeep_);
    thread_ = std::thread([this] { run(); });
    return path;
}

void SimController::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    const char c = 0;
    (void)!::write(wakePipe_[1], &c, 1);
    thread_.join();
    for (int* fd : {&listenFd_, &ptyMaster_, &ptySlaveKeep_})
        if (*fd >= 0) ::close(std::exchange(*fd, -1));
}

void SimController::run() {
    if (ptyMaster_ >= 0) {
        serveRtu();
        return;
    }
    while (!stopping_) {
        if (!waitReadable(listenFd_, wakePipe_[0], -1)) continue;
        const int fd = ::accept(listenFd_, nullptr, nullptr);
        if (fd < 0) continue;
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        ++connections_;
        heldTcp_ = {}; // a connection's late answer goes out on that connection only
        serveTcpClient(fd);
        ::close(fd);
    }
}

void SimController::serveTcpClient(int fd) {
    Bytes in;
    uint8_t buf[512];
    while (!stopping_) {
        if (!waitReadable(fd, wakePipe_[0], -1)) continue;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) return;
        in.insert(in.end(), buf, buf + n);
        while (in.size() >= 6 && in.size() >= 6u + RequestWord(in, 4)) {
            const size_t whole = 6u + RequestWord(in, 4);
            const Bytes frame(in.begin(), in.begin() + static_cast<long>(whole));
            in.erase(in.begin(), in.begin() + static_cast<long>(whole));
            locked([&] { wire_.push_back(frame); });
            const Bytes request(frame.begin() + 6, frame.end());
            Bytes prefix(frame.begin(), frame.begin() + 4);
            if (zeroId_) prefix[0] = prefix[1] = 0;
            if (!respond(request, false, prefix, fd)) return;
        }
    }
}

void SimController::serveRtu() {
    Bytes in;
    uint8_t buf[512];
    while (!stopping_) {
        const int lateMs = sendLateAnswers();
        const int expected = rtuRequestLength(in);
        const bool complete = expected > 0 && in.size() >= static_cast<size_t>(expected);
        if (!complete) {
            // A request in part ends at a pause, unless a late answer is due before the pause is over.
            const int gapMs = in.empty() ? -1 : RtuGapMs;
            const bool lateFirst = lateMs >= 0 && (gapMs < 0 || lateMs < gapMs);
            const bool more = waitReadable(ptyMaster_, wakePipe_[0], lateFirst ? lateMs : gapMs);
            if (more) {
                const ssize_t n = ::read(ptyMaster_, buf, sizeof buf);
                if (n > 0)
                    in.insert(in.end(), buf, buf + n);
                else if (n < 0 && errno != EAGAIN && errno != EINTR && errno != EIO)
                    return;
                else if (n <= 0)
                    sleepMs(5); // no terminal side open at the moment
                continue;
            }
            if (stopping_ || in.empty() || lateFirst) continue;
        }
        // A whole frame, or whatever came before a pause (unknown function or a cut frame).
        const size_t take = complete ? static_cast<size_t>(expected) : in.size();
        const Bytes frame(in.begin(), in.begin() + static_cast<long>(take));
        in.erase(in.begin(), in.begin() + static_cast<long>(take));
        locked([&] { wire_.push_back(frame); });
        if (frame.size() < 4 || WithCrc(Bytes(frame.begin(), frame.end() - 2)) != frame)
            continue; // slaves ignore bad frames
        if (echo_) writeAll(ptyMaster_, frame.data(), frame.size());
        if (!respond(Bytes(frame.begin(), frame.end() - 2), true, {}, ptyMaster_)) return;
    }
}

int SimController::sendLateAnswers() {
    const auto now = std::chrono::steady_clock::now();
    while (!late_.empty() && late_.begin()->first <= now) {
        writeAll(ptyMaster_, late_.begin()->second.data(), late_.begin()->second.size());
        late_.erase(late_.begin());
    }
    if (late_.empty()) return -1;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(late_.begin()->first - now).count());
}

bool SimController::respond(const Bytes& request, bool rtu, const Bytes& mbapPrefix, int fd) {
    locked([&] { transcript_.push_back(request); });
    Bytes pdu = answer(request);
    if (pdu.empty()) return true;
    const SimFaultSpec fault = locked([&] {
        if (faults_.empty()) return SimFaultSpec{SimFault::Delay, 0};
        const SimFaultSpec next = faults_.front();
        faults_.pop_front();
        return next;
    });
    switch (fault.kind) {
    case SimFault::Silence:
        return true;
    case SimFault::Disconnect:
        if (rtu) ::close(std::exchange(ptyMaster_, -1));
        return false;
    case SimFault::Raw:
        return writeAll(fd, fault.raw.data(), fault.raw.size());
    case SimFault::WrongAddress:
        pdu[0] = static_cast<uint8_t>(pdu[0] + 1);
        break;
    case SimFault::Exception:
        pdu = exceptionAnswer(pdu, fault.code);
        break;
    default:
        break;
    }
    Bytes frame;
    if (rtu) {
        frame = WithCrc(pdu);
        if (fault.kind == SimFault::BadCrc) frame.back() ^= 0x5A;
    } else {
        frame = mbapPrefix;
        frame.push_back(static_cast<uint8_t>(pdu.size() >> 8));
        frame.push_back(static_cast<uint8_t>(pdu.size()));
        frame.insert(frame.end(), pdu.begin(), pdu.end());
    }
    // A device answers in order: behind an answer it holds back, its next ones wait too.
    bool behind = fault.kind == SimFault::Late;
    auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(behind ? fault.ms : 0);
    for (const auto& [when, held] : late_)
        if (held[0] == frame[0]) {
            due = std::max(due, when);
            behind = true;
        }
    if (rtu && behind) {
        late_.emplace(due, frame);
        if (fault.kind != SimFault::Late) return true;
        if (fault.rawBeforeMs < 0) return writeAll(fd, fault.raw.data(), fault.raw.size());
        if (!fault.raw.empty()) late_.emplace(due - std::chrono::milliseconds(fault.rawBeforeMs), fault.raw);
        return true;
    }
    if (!rtu && fault.kind == SimFault::Late) {
        heldTcp_ = {frame, fault.rawBeforeMs};
        return true;
    }
    if (fault.kind == SimFault::Delay) sleepMs(fault.ms);
    if (fault.kind == SimFault::Split) {
        const size_t half = frame.size() / 2;
        if (!writeAll(fd, frame.data(), half)) return false;
        sleepMs(fault.ms);
        return writeAll(fd, frame.data() + half, frame.size() - half);
    }
    return rtu ? writeAll(fd, frame.data(), frame.size()) : sendTcp(fd, frame);
}

bool SimController::sendTcp(int fd, const Bytes& frame) {
    Bytes segment = std::exchange(heldTcp_.frame, {});
    if (!segment.empty() && heldTcp_.beforeMs >= 0) {
        if (!writeAll(fd, segment.data(), segment.size())) return false;
        sleepMs(heldTcp_.beforeMs);
        segment.clear();
    }
    segment.insert(segment.end(), frame.begin(), frame.end());
    return writeAll(fd, segment.data(), segment.size());
}

Bytes SimController::answer(const Bytes& request) {
    if (request.size() < 2) return {};
    if (responder_) return responder_(request);
    const bool broadcast = request[0] == 0 || request[0] == 255;
    if (request[0] != node_ && !broadcast) return executeSubAddress(request);
    Bytes pdu = execute(request);
    return broadcast ? Bytes{} : pdu;
}

Bytes SimController::execute(const Bytes& r) {
    std::lock_guard lock(mutex_);
    const uint8_t f = r[1];
    auto tooShort = [&](size_t n) { return r.size() < n; };
    switch (f) {
    case 3:
    case 4: {
        if (tooShort(6)) return exceptionAnswer(r, 3);
        const uint16_t first = RequestWord(r, 2), count = RequestWord(r, 4);
        if (count < 1 || count > 125 || first + count > 65536) return exceptionAnswer(r, 2);
        const auto& table = f == 3 ? holding_ : input_;
        Bytes a{r[0], f, static_cast<uint8_t>(count * 2)};
        for (int i = 0; i < count; ++i) {
            a.push_back(static_cast<uint8_t>(table[first + i] >> 8));
            a.push_back(static_cast<uint8_t>(table[first + i]));
        }
        return a;
    }
    case 6: {
        if (tooShort(6)) return exceptionAnswer(r, 3);
        const uint16_t reg = RequestWord(r, 2), value = RequestWord(r, 4);
        holding_[reg] = value;
        if (reg == 0) input_[0] = value; // the run status follows the command register
        return Bytes(r.begin(), r.begin() + 6);
    }
    case 16: {
        if (tooShort(7) || r.size() < 7u + r[6]) return exceptionAnswer(r, 3);
        const uint16_t first = RequestWord(r, 2), count = RequestWord(r, 4);
        if (r[6] != count * 2 || first + count > 65536) return exceptionAnswer(r, 2);
        for (int i = 0; i < count; ++i)
            holding_[first + i] = RequestWord(r, 7 + 2 * static_cast<size_t>(i));
        return Bytes(r.begin(), r.begin() + 6);
    }
    case 20: {
        if (tooShort(7)) return exceptionAnswer(r, 3);
        const uint8_t sub = r[2], n = r[6];
        if (sub == 1 || sub == 2 || sub == 4)
            return MemoryAccess(r, sub == 1 ? image_ : memory_, sub == 1 ? 1 : 2)
                .value_or(exceptionAnswer(r, 2));
        if (sub != 5) return exceptionAnswer(r, 1);
        const uint32_t address = static_cast<uint32_t>(r[3] << 16 | r[4] << 8 | r[5]);
        Bytes a{r[0], f, n};
        for (uint32_t i = 0; i < n; ++i) {
            auto it = flash_.find(address + i);
            a.push_back(it == flash_.end() ? 0xFF : it->second);
        }
        return a;
    }
    default:
        return exceptionAnswer(r, 1);
    }
}
