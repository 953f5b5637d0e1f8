#pragma once
// libmodbus as an independent Modbus server (holding and input registers) on its own thread, over TCP on
// 127.0.0.1 or as RTU on a serial device path.
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include <modbus/modbus.h>

class LibmodbusServer {
  public:
    explicit LibmodbusServer(uint8_t slave = 10);
    ~LibmodbusServer();
    LibmodbusServer(const LibmodbusServer&) = delete;
    LibmodbusServer& operator=(const LibmodbusServer&) = delete;

    uint16_t startTcp();
    void startRtu(const std::string& device, int baud = 115200);
    void stop();

    // Register tables (1,000 of each kind); change them only while no request runs.
    uint16_t* holding() const { return map_->tab_registers; }
    uint16_t* input() const { return map_->tab_input_registers; }

  private:
    void serve();
    uint8_t slave_;
    _modbus* ctx_ = nullptr;
    _modbus_mapping_t* map_ = nullptr;
    int listenFd_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};
