#pragma once
// The module under test as the bench reaches it: one-request register and memory procedures over the
// program's device link. Reads tell a failure from a register that holds 0.
#include <cstdint>
#include <optional>
#include <span>
#include <string>

struct AppContext;

class BenchLink {
  public:
    explicit BenchLink(AppContext& app) : app_(app) {}

    bool writeRegister(uint8_t node, int16_t reg, double value);
    std::optional<uint16_t> readRegister(uint8_t node, int16_t reg);
    // The bytes staged at the start of MemoryImage, then written at address (memory access function).
    bool writeMemory(uint8_t node, uint16_t address, std::span<const uint8_t> bytes);
    // The link device's mode byte; the main window then shows the mode it was left in.
    bool setDebugMode(bool debug);
    // Moves the link to a serial COM port at the node: closes it and opens it again.
    void moveTo(int16_t comPort, const std::string& serialDevice, uint8_t node, const std::string& deviceName);
    void disconnect();
    void connect();
    void reconnect();
    bool connected() const;
    // The link's node, to which register 17 goes.
    uint8_t node() const;
    // The link's speed text, and setting it (takes effect at the next reconnect).
    std::string baudRate() const;
    void setBaudRate(const std::string& baud);
    // Identity check and, for models with a debug mode, the mode byte.
    void verifyModel();

  private:
    AppContext& app_;
};
