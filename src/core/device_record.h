#pragma once
// One device and the link to it.
#include <array>
#include <cstdint>
#include <string>

#include "core/model_record.h"

// The shortest link time-out the settings may give: below it not even a local connection stands.
constexpr int16_t MinLinkTimeout = 100; // milliseconds

struct DeviceRecord {
    uint8_t ModelIndex = DefaultModelIndex;
    ModelRecord ModelData;
    uint8_t Channel = 0; // 0 Ethernet (Modbus TCP), 1 serial
    std::string BaudRate = "9600";
    int16_t TwoStopBits = 0;
    std::string IpAddress = "192.168.1.100";
    std::array<uint8_t, 5> IpBytes{};
    std::string Mask;
    std::array<uint8_t, 5> MaskBytes{};
    int16_t Port = 502; // TCP port, or serial port number (1 = first port) on a serial channel
    std::string MacAddress;
    std::array<uint8_t, 7> MacBytes{};
    uint8_t NodeAddress = 10;
    int16_t DebugMode = 0;
    bool ModeUnread = false;    // the last mode read had no answer: DebugMode is 0 for want of one
    int16_t LinkTimeout = 1000; // milliseconds
    int16_t Connected = 0;
    uint8_t RunState = 0;
    int16_t ModemDialUp = 0;
    int16_t Init = 0;
    std::string DeviceName;
    int16_t EchoRemove = 0;
    // Serial device path on this system ("/dev/ttyUSB0"); empty: derived from Port (see SerialDevicePath).
    std::string SerialDevice;
};
