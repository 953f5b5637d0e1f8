#pragma once
// Two pseudo-terminals joined back to back, like a null-modem cable: bytes written to one terminal come out
// of the other. Two programs that each open a serial device path can then talk.
#include <atomic>
#include <string>
#include <thread>

// Opens a pseudo-terminal in raw mode (nothing echoed or translated) and returns its master side; path
// is the terminal side a program opens, keep an open descriptor on it that keeps the pair alive.
int OpenRawPty(std::string& path, int& keep);

class PtyBridge {
  public:
    PtyBridge();
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
    std::thread thread_;
};
