#pragma once
// A simulated analog module bench: the module under test (node 1, or 255 for model 3), the two
// constants nodes 247 and 246, the bench I/O at node 10 on one Modbus line, and the four instruments.
// The module reads what the calibrator sources, with a gain error of its own that the stored K
// corrects; its outputs have gain and offset errors that the zero and span constants correct; the
// cold-junction reading is off until its correction byte is stored. Safe to use from the simulator's
// thread and the test's thread at once.
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "support/sim_controller.h"

// The memory image a model's file holds for the bench: value i is (i * 7) % 256, one a line.
inline constexpr size_t ImageValues = 2001;
std::string ImageText();

class AnalogWorld {
  public:
    explicit AnalogWorld(int model);

    // Modbus answer for any node (SimController::setResponder); silence while the supply is off.
    Bytes respond(const Bytes& request);

    // Instrument responders: bytes from the bench in, the instrument's reply out.
    std::string relayUnit(const std::string& bytes);
    std::string multimeter(const std::string& bytes);
    // The multimeter's reading line ("+1.450000E+01" CR LF), as it answers ":READ?" or sends on its own.
    std::string multimeterLine() const;
    std::string supply(const std::string& bytes);
    std::string calibrator(const std::string& bytes);

    // The operator does what a bench message says: sets the calibrator as "Impostare calibratore ..."
    // asks, or the dip-switches off.
    void operatorReads(const std::string& message);
    // The calibrator set by hand (unit as in the prompt, "" for an output value on model 3).
    void setCalibrator(double value, const std::string& unit);
    // The module identifies with a catalogue code of four hex digits ("5996"), a digit a byte.
    void identifyAs(const std::string& modelCode);
    // Dip-switches of model 3 left on (the operator turns them off when told).
    void setDips(uint16_t dips) {
        locked([&] { return dips_ = dips; });
    }

    // Inspection.
    Bytes memory(uint8_t node, uint16_t address, size_t count) const;
    uint16_t holding(uint8_t node, uint16_t reg) const {
        return locked([&] { return held(node, reg); });
    }
    // The constant k of a constants node, decoded from its three bytes.
    float constant(uint8_t node, int k) const {
        return locked([&] { return constantOf(node, k); });
    }
    std::vector<std::string> supplyCommands() const {
        return locked([&] { return supplyCommands_; });
    }
    bool supplyOn() const {
        return locked([&] { return supplyOn_; });
    }
    uint8_t moduleNode() const { return module_; }

    // Faults and errors of this bench, set before a run.
    struct Errors {
        double outputGain = 1.02;     // the outputs' gain before the span constant
        double cjcError = 1.25;       // degrees the cold junction reads high
        int refusedWriteAddress = -1; // memory writes there meet an exception answer
    } errors;
    double Tamb = 23.45; // the calibrator's reference temperature, whole hundredths
    std::atomic<bool> multimeterSilent{false};
    std::atomic<uint16_t> id1{0}, id2{0}; // the module's identification registers 1 and 2
    std::atomic<int> beeps{0};

  private:
    template <class F> auto locked(F f) const -> decltype(f()) {
        std::lock_guard lock(mutex_);
        return f();
    }
    uint16_t held(uint8_t node, uint16_t reg) const { return nodes_.at(node).holding(reg); }
    uint16_t inputRegister(uint8_t node, uint16_t reg) const;
    uint16_t channelReading() const;
    double outputMicroAmps() const;
    std::string readingLine() const;
    Bytes execute(const Bytes& r);
    float constantOf(uint8_t node, int k) const;

    mutable std::mutex mutex_;
    const int model_;
    const uint8_t module_;
    std::map<uint8_t, SimController> nodes_; // memory and holding registers of each node
    uint16_t dips_ = 0;
    int typeCode_ = 0;                     // the input type selected last
    uint8_t constNode_ = 247, constK_ = 0; // the constant written last: the one the channel applies
    uint8_t cjcNode_ = 247;                // the node whose correction byte was cleared or written last
    double source_ = 0;                    // what the calibrator sources
    std::set<int> relays_;                 // closed relays, slot * 100 + channel
    bool current_ = false;                 // multimeter function CURR (else VOLT)
    bool supplyOn_ = false;
    std::vector<std::string> supplyCommands_;
    std::string multLine_, supplyLine_, relayLine_;
    int calPos_ = 0;
    uint8_t calCommand_ = 0;
};
