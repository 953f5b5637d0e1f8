#pragma once
// An instrument on a pseudo-terminal: the program opens path() as a serial port; every chunk it writes
// goes to the responder on a thread of its own, and the answer is written back. With a stream, the
// instrument goes astray after its first answer: it sends the stream again every millisecond, without
// end, whether anyone reads or not.
#include <functional>
#include <string>
#include <thread>

class PtyInstrument {
  public:
    explicit PtyInstrument(std::function<std::string(const std::string&)> respond, std::string stream = {});
    ~PtyInstrument();
    PtyInstrument(const PtyInstrument&) = delete;
    PtyInstrument& operator=(const PtyInstrument&) = delete;

    const std::string& path() const { return path_; }

  private:
    void serve();
    std::function<std::string(const std::string&)> respond_;
    const std::string stream_;
    bool streaming_ = false;
    int master_ = -1, keep_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::string path_;
    std::thread thread_;
};
