#pragma once
// Two pseudo-terminals joined back to back, like a null-modem cable: bytes written to one terminal come out
// of the other. Two programs that each open a serial device path can then talk.
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

// Opens a pseudo-terminal in raw mode (nothing echoed or translated) and returns its master side; path
// is the terminal side a program opens, keep an open descriptor on it that keeps the pair alive.
int OpenRawPty(std::string& path, int& keep);

// A chunk of bytes the bridge passed on, for a test that times the line: the monotonic clock is read
// between its read and its write, so no earlier than its first byte arrived and no later than the other
// side could see its last.
struct PtyChunk {
    bool fromA = false;
    size_t bytes = 0;
    int64_t monotonicNs = 0;
};

class PtyBridge {
  public:
    // observe, when given, is called on the bridge's own thread for every chunk it passes on.
    explicit PtyBridge(std::function<void(const PtyChunk&)> observe = {});
    ~PtyBridge();
    PtyBridge(const PtyBridge&) = delete;
    PtyBridge& operator=(const PtyBridge&) = delete;

    const std::string& pathA() const { return pathA_; }
    const std::string& pathB() const { return pathB_; }

  private:
    void relay();
    int masterA_ = -1, masterB_ = -1;
    int keepA_ = -1, keepB_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::string pathA_, pathB_;
    std::function<void(const PtyChunk&)> observe_;
    std::thread thread_;
};
