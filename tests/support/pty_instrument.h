#pragma once
// An instrument on a pseudo-terminal: the program opens path() as a serial port; every chunk it writes
// goes to the responder on a thread of its own, and the answer is written back. With a stream, the
// instrument goes astray after its first answer: it sends the stream again every millisecond, without
// end, whether anyone reads or not. A talking instrument sends a line of its own every period, asked
// or not, and everything it sends goes out a byte at a time, a byte gap apart (a millisecond: a
// 9600-baud line): a line in progress can be caught in its middle, and an answer waits behind it. With a
// pause, every line of its own stops after its first pauseAfter bytes (line ends among them counted) for
// that long before its rest, as through a converter that hands bytes over in bursts; with a spread, each
// pause is longer by a part of it that changes from line to line. Answers never stop.
#include <chrono>
#include <functional>
#include <string>
#include <thread>

struct PtyTalk {
    std::function<std::string()> line; // none: the instrument speaks only when spoken to
    std::chrono::milliseconds period{1000};
    std::chrono::milliseconds byteGap{1};
    size_t pauseAfter = 0; // none
    std::chrono::milliseconds pause{0};
    std::chrono::milliseconds pauseSpread{0}; // none: every pause as long
};

class PtyInstrument {
  public:
    explicit PtyInstrument(std::function<std::string(const std::string&)> respond, std::string stream = {},
                           PtyTalk talk = {});
    ~PtyInstrument();
    PtyInstrument(const PtyInstrument&) = delete;
    PtyInstrument& operator=(const PtyInstrument&) = delete;

    const std::string& path() const { return path_; }

  private:
    void serve();
    std::function<std::string(const std::string&)> respond_;
    const std::string stream_;
    const PtyTalk talk_;
    bool streaming_ = false;
    int master_ = -1, keep_ = -1;
    int wakePipe_[2] = {-1, -1};
    std::string path_;
    std::thread thread_;
};
