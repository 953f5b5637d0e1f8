#pragma once
// An instrument on a pseudo-terminal: the program opens path() as a serial port; every chunk it writes
// goes to the responder on a thread of its own, and the answer is written back.
#include <functional>
#include <string>
#include <thread>

class PtyInstrument {
  public:
    explicit PtyInstrument(std::function<std::string(const std::string&)> respond);
    ~PtyInstrument();
    PtyInstrument(const PtyInstrument&) = delete;
    PtyInstrument& operator=(const PtyInstrument&) = delete;

    const std::string& path() const { return path_; }

  private:
    void serve();
    std::function<std::string(const std::string&)> respond_;
    int master_ = -1, keep_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::string path_;
    std::thread thread_;
};
