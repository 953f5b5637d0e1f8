#pragma once
// Simulated peers of the factory configuration windows on one Modbus line (SimController::setResponder):
// nodes with a byte memory reached through the memory access function, nodes with holding registers
// (functions 3 and 6), and four-channel input modules whose function-4 answer is a measurement of the
// type codes the request carries (reading i = code i × 100 − 1000 × i). Other requests meet silence.
// Safe to use from the simulator's thread and the test's thread at once.
#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <vector>

using Bytes = std::vector<uint8_t>;

class ConfigPeers {
  public:
    void addMemory(uint8_t node, size_t size = 512);
    void addRegisters(uint8_t node);
    void addMeasuring(uint8_t node);
    // The measurement answers carry one reading instead of four.
    void setShortMeasurement(bool on);

    Bytes respond(const Bytes& request);

    void setMemory(uint8_t node, size_t at, const Bytes& bytes);
    Bytes memory(uint8_t node, size_t at, size_t count) const;
    void setHolding(uint8_t node, uint16_t reg, uint16_t value);
    uint16_t holding(uint8_t node, uint16_t reg) const;

  private:
    Bytes memoryAccess(const Bytes& r);
    Bytes registers(const Bytes& r);
    Bytes measurement(const Bytes& r) const;

    mutable std::mutex mutex_;
    std::map<uint8_t, Bytes> memories_;
    std::map<uint8_t, std::map<uint16_t, uint16_t>> holdings_;
    std::set<uint8_t> measuring_;
    bool shortMeasurement_ = false;
};
