#include "factorytest/calibration_bench/bench_link.h"

#include <algorithm>

#include "core/app_context.h"
#include "comm/device_procedures.h"
#include "comm/input_register_read.h"
#include "comm/link.h"
#include "comm/model_check.h"
#include "factorytest/fields/controller_mode.h"

bool BenchLink::writeRegister(uint8_t node, int16_t reg, double value) {
    return ScriviRegistro(app_, node, reg, value);
}

std::optional<uint16_t> BenchLink::readRegister(uint8_t node, int16_t reg) {
    const auto values = LeggiRegistriInput(app_, node, reg, 1);
    if (!values) return std::nullopt;
    return values->front();
}

bool BenchLink::writeMemory(uint8_t node, uint16_t address, std::span<const uint8_t> bytes) {
    std::vector<uint8_t>& image = app_.project.MemoryImage;
    if (bytes.size() > 255 || bytes.size() > image.size()) return false;
    std::copy(bytes.begin(), bytes.end(), image.begin());
    return ScriviMemoria(app_, node, address, 0, static_cast<uint8_t>(bytes.size()));
}

bool BenchLink::setDebugMode(bool debug) {
    return SetControllerMode(app_, debug);
}

void BenchLink::moveTo(int16_t comPort, const std::string& serialDevice, uint8_t node,
                       const std::string& deviceName) {
    DeviceRecord& d = app_.comm.CurrentDevice;
    d.Channel = 1;
    d.Port = comPort;
    d.SerialDevice = serialDevice;
    d.BaudRate = "9600";
    d.TwoStopBits = 0;
    d.LinkTimeout = 1000;
    d.NodeAddress = node;
    d.DeviceName = deviceName;
    reconnect();
}

void BenchLink::disconnect() {
    Disconnetti(app_);
}

void BenchLink::connect() {
    Connetti(app_);
}

void BenchLink::reconnect() {
    disconnect();
    connect();
}

bool BenchLink::connected() const {
    return app_.comm.CurrentDevice.Connected != 0;
}

uint8_t BenchLink::node() const {
    return app_.comm.CurrentDevice.NodeAddress;
}

std::string BenchLink::baudRate() const {
    return app_.comm.CurrentDevice.BaudRate;
}

void BenchLink::setBaudRate(const std::string& baud) {
    app_.comm.CurrentDevice.BaudRate = baud;
}

void BenchLink::verifyModel() {
    VerificaModello(app_);
    if (app_.model().IsProgrammable) app_.comm.CurrentDevice.DebugMode = LeggiStatoPLC(app_) ? -1 : 0;
}
