#pragma once
// One simulated controller of a catalogue model, served as a program on the bench would find a real one:
// Modbus TCP on 127.0.0.1 and, when asked, RTU over a pseudo-terminal, both lines onto one device. The
// device identifies as the model, answers ReadImage from its program area (what a download wrote there),
// reads with function 4 what functions 6 and 16 wrote, and tells every request it receives in one line.
#include <functional>
#include <mutex>
#include <string>

#include "core/model_record.h"
#include "support/sim_controller.h"

// What a request asks, in one line, e.g. "node 10: write holding 0 = 100 (command halt)".
std::string RequestSummary(const Bytes& request);

class ServedController {
  public:
    using Teller = std::function<void(const std::string& line)>;
    ServedController(const ModelRecord& model, uint8_t node, Teller tell);

    // Listens on 127.0.0.1:port (0: a free one); returns the port.
    uint16_t startTcp(uint16_t port) { return tcp_.startTcp("127.0.0.1", port); }
    // Opens a pseudo-terminal pair; returns the path the program opens.
    std::string startRtu() { return rtu_.startRtu(); }
    SimController& device() { return device_; }
    // Every nth answer (0: none) goes out ms late, as a slow device's would.
    void answerLate(int ms, int nth) {
        lateMs_ = ms;
        lateNth_ = nth;
    }

    // Every Modbus TCP answer carries transaction id 0, whatever the request's was.
    void answerZeroId(bool zero) { tcp_.setZeroTransactionId(zero); }

  private:
    Bytes respond(SimController& line, const Bytes& request);

    const uint16_t programBase_;
    const Teller tell_;
    std::mutex tellMutex_; // both lines tell from threads of their own
    // Answers sent late: every lateNth_ of them (counted in answered_, under tellMutex_) by lateMs_.
    int lateMs_ = 0, lateNth_ = 0, answered_ = 0;
    SimController device_, tcp_, rtu_;
};
