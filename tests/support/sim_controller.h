#pragma once
// A simulated controller for tests: a Modbus slave on its own thread, reached over TCP on 127.0.0.1 (port 0,
// so the system picks a free one) or as RTU over a pseudo-terminal (the master opens slavePath()).
// It serves functions 3, 4, 6, 16 and the memory access function 20 (sub-commands 1 image, 2 memory read,
// 4 memory write, 5 Flash read) over a 64 KB memory, the command register (holding 0, mirrored into the run
// status, input 0), the mode byte (memory 19), scriptable identification (inputs 1-2), status word (10) and
// program counter (13). Every request is kept in a transcript; faults are injected one request at a time.
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>
#include <vector>

using Bytes = std::vector<uint8_t>;

enum class SimFault {
    Silence,      // no answer
    Delay,        // answer after ms
    Late,         // RTU: answer after ms while the line serves the requests that follow, with raw sent
                  // at once or rawBeforeMs before the answer. TCP: held back and sent with the next answer
                  // on the same connection, in one segment or rawBeforeMs before it (lost when it closes)
    Split,        // answer in two parts, ms apart
    BadCrc,       // RTU check bytes wrong
    WrongAddress, // answer from another slave address
    Exception,    // exception answer with code
    Disconnect,   // close the link instead of answering
    Raw,          // send these bytes instead of the answer, as they are (no CRC, no MBAP header added)
};

struct SimFaultSpec {
    SimFault kind;
    int ms = 0;
    uint8_t code = 2;
    Bytes raw = {};
    int rawBeforeMs = -1; // Late: -1 sends raw at once
};

class SimController {
  public:
    explicit SimController(uint8_t node = 10);
    ~SimController();
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    // Listens on a loopback address (another one than 127.0.0.1 stands for a device found elsewhere) and
    // port (0: a free one); returns the port.
    uint16_t startTcp(const std::string& address = "127.0.0.1", uint16_t port = 0);
    // Opens a pseudo-terminal pair and returns the path the master opens.
    std::string startRtu();
    void stop();

    // Device state.
    void setMemory(uint32_t address, const Bytes& bytes) {
        locked([&] { copyInto(memory_, address, bytes); });
    }
    Bytes memory(uint32_t address, size_t count) const {
        return locked([&] { return Bytes(&memory_[address], &memory_[address] + count); });
    }
    // What ReadImage returns.
    void setImage(uint32_t address, const Bytes& bytes) {
        locked([&] { copyInto(image_, address, bytes); });
    }
    // What ReadMemoryLong returns.
    void setFlash(uint32_t address, const Bytes& bytes) {
        locked([&] {
            for (size_t i = 0; i < bytes.size(); ++i)
                flash_[address + static_cast<uint32_t>(i)] = bytes[i];
        });
    }
    void setHolding(uint16_t reg, uint16_t value) {
        locked([&] { holding_[reg] = value; });
    }
    uint16_t holding(uint16_t reg) const {
        return locked([&] { return holding_[reg]; });
    }
    void setInput(uint16_t reg, uint16_t value) {
        locked([&] { input_[reg] = value; });
    }
    uint16_t input(uint16_t reg) const {
        return locked([&] { return input_[reg]; });
    }
    void setIdentification(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3) {
        setInput(1, static_cast<uint16_t>(b0 << 8 | b1));
        setInput(2, static_cast<uint16_t>(b2 << 8 | b3));
    }
    void setRunStatus(uint16_t v) { setInput(0, v); }
    void setStatusWord(uint16_t v) { setInput(10, v); }
    void setProgramCounter(uint16_t v) { setInput(13, v); }
    uint8_t modeByte() const { return memory(19, 1)[0]; }
    uint16_t commandRegister() const { return holding(0); }
    // Two-wire RS-485: every RTU request is echoed back before the answer.
    void setEcho(bool echo) { echo_ = echo; }
    // Answers every TCP request with transaction identifier 0, whatever it carried.
    void setZeroTransactionId(bool zero) { zeroId_ = zero; }
    // TCP connections accepted so far.
    int connections() const { return connections_; }

    // When set (before start), answers every request in place of the built-in device, whatever its address:
    // a world of several nodes on one line. An empty answer is silence. Runs on the simulator's thread.
    void setResponder(std::function<Bytes(const Bytes& request)> responder) {
        responder_ = std::move(responder);
    }
    // Sub-addresses of an I/O module (sim_sub_address.cpp): the module also answers memory reads and
    // writes (function 20) addressed to this address, over a memory of its own, while one byte of its
    // holding register 17 names it.
    void answerSubAddress(uint8_t address);
    void setSubMemory(uint8_t address, uint32_t at, const Bytes& bytes);
    Bytes subMemory(uint8_t address, uint32_t at, size_t count) const;

    // The next requests addressed to this node meet these faults, one each, in order.
    void inject(SimFaultSpec fault) {
        locked([&] { faults_.push_back(fault); });
    }

    // Every request received, as a ModbusRequest (no check bytes, no MBAP header).
    std::vector<Bytes> transcript() const {
        return locked([&] { return transcript_; });
    }
    // Every frame received as it was on the wire (RTU with CRC, TCP with MBAP header).
    std::vector<Bytes> wire() const {
        return locked([&] { return wire_; });
    }
    void clearTranscript() {
        locked([&] {
            transcript_.clear();
            wire_.clear();
        });
    }

    uint8_t node() const { return node_; }

    // The built-in device's answer to a request, whatever its address: a responder serves several
    // simulated devices on one line through this.
    Bytes execute(const Bytes& request);

  private:
    template <class F> std::invoke_result_t<F> locked(F f) const {
        std::lock_guard lock(mutex_);
        return f();
    }
    static void copyInto(std::vector<uint8_t>& to, uint32_t at, const Bytes& bytes) {
        std::copy(bytes.begin(), bytes.end(), to.begin() + at);
    }
    void run();
    void serveTcpClient(int fd);
    void serveRtu();
    // Sends the held-back answers that are due; returns the milliseconds to the next one (-1: none).
    int sendLateAnswers();
    // The answer PDU (address included) to a request, empty when none is due.
    Bytes answer(const Bytes& request);
    Bytes executeSubAddress(const Bytes& request);
    // Keeps the request and sends its answer, if one is due, with the pending fault. False when the link
    // was closed.
    bool respond(const Bytes& request, bool rtu, const Bytes& mbapPrefix, int fd);
    // Writes a TCP answer, with the held-back late one in front of it.
    bool sendTcp(int fd, const Bytes& frame);

    const uint8_t node_;
    std::function<Bytes(const Bytes&)> responder_;
    mutable std::mutex mutex_;
    std::vector<uint8_t> memory_ = std::vector<uint8_t>(65536, 0);
    std::vector<uint8_t> image_ = std::vector<uint8_t>(65536, 0);
    std::map<uint32_t, uint8_t> flash_;
    std::vector<uint16_t> holding_ = std::vector<uint16_t>(65536, 0);
    std::vector<uint16_t> input_ = std::vector<uint16_t>(65536, 0);
    std::map<uint8_t, std::vector<uint8_t>> subMemory_;
    std::deque<SimFaultSpec> faults_;
    std::multimap<std::chrono::steady_clock::time_point, Bytes> late_; // RTU answers held back, by when due
    std::vector<Bytes> transcript_, wire_;
    std::atomic<bool> echo_{false};
    std::atomic<bool> zeroId_{false};
    std::atomic<int> connections_{0};
    struct HeldAnswer {
        Bytes frame; // empty: none
        int beforeMs = -1;
    } heldTcp_; // a late TCP answer of the connection served

    std::atomic<bool> stopping_{false};
    int listenFd_ = -1;
    int ptyMaster_ = -1;
    int ptySlaveKeep_ = -1; // keeps the pseudo-terminal alive between the master's opens
    int wakePipe_[2] = {-1, -1};
    std::thread thread_;
};
