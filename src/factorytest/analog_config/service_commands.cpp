// The service buttons of the configuration window: the two analog outputs of the current device, the
// K ratio calculator, the switching run and the controllers' enable register.
#include <array>

#include "core/app_context.h"
#include "comm/byte_helpers.h"
#include "comm/device_procedures.h"
#include "factorytest/analog_config/analog_config.h"
#include "factorytest/fields/command_guard.h"
#include "factorytest/fields/field_numbers.h"
#include "factorytest/fields/staged_write.h"

namespace {

struct AnalogOutput {
    int32_t CalibrationAddress; // two words, low byte first
    int16_t Register;
};
// Output 0 calibrates at the higher address.
constexpr std::array<AnalogOutput, 2> Outputs{{{24, 32}, {20, 33}}};

constexpr int16_t SwitchedRegister = 9;
constexpr uint8_t SwitchedSlave = 1;
constexpr int SwitchCycles = 100;
constexpr double SwitchPause = 2;
constexpr int16_t EnableRegister = 10;

} // namespace

void AnalogConfig::Out_Click(int output) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard || output < 0 || output > 1) return;
    const std::string& first = output == 0 ? Text5 : Text7;
    const std::string& second = output == 0 ? Text4 : Text6;
    const auto a = fieldWhole(first, -32768, 65535), b = fieldWhole(second, -32768, 65535);
    if (!a || !b) return refuse();
    const auto la = IntToBytes(*a), lb = IntToBytes(*b);
    const std::array<uint8_t, 4> bytes{la[0], la[1], lb[0], lb[1]};
    WriteStaged(app_, app_.comm.CurrentDevice.NodeAddress,
                Outputs[static_cast<size_t>(output)].CalibrationAddress, bytes);
}

void AnalogConfig::Reset_Click(int output) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard || output < 0 || output > 1) return;
    constexpr std::array<uint8_t, 4> Words{0x00, 0x00, 0x20, 0x4E}; // 0 and 20000
    WriteStaged(app_, app_.comm.CurrentDevice.NodeAddress,
                Outputs[static_cast<size_t>(output)].CalibrationAddress, Words);
}

void AnalogConfig::Force_Click(int output, bool twenty) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard || output < 0 || output > 1) return;
    double value = twenty ? 20000 : 0;
    ScriviRegistro(app_, app_.comm.CurrentDevice.NodeAddress, Outputs[static_cast<size_t>(output)].Register,
                   value);
}

void AnalogConfig::Command1_Click() {
    const auto a = fieldNumber(Text1), b = fieldNumber(Text2);
    if (!a || !b || *b == 0) return refuse();
    Text3 = fixed4(*a / *b);
    changed();
}

// While it runs, the window's other commands stay usable: each runs to its end inside the run's pause,
// before the run's next write.
void AnalogConfig::Command11_Click() {
    if (switching_) {
        stopSwitching_ = true;
        return;
    }
    if (busy_ || app_.comm.TransactionBusy) return;
    switching_ = true;
    stopSwitching_ = false;
    changed();
    pump_.run(app_.shell.log, "Command11", [this] {
        for (int i = 0; i < SwitchCycles && !stopSwitching_; ++i)
            for (double value : {0.0, 65535.0}) {
                if (stopSwitching_) break;
                ScriviRegistro(app_, SwitchedSlave, SwitchedRegister, value);
                pump_.pausa(SwitchPause);
            }
    });
    switching_ = false;
    changed();
}

void AnalogConfig::En_8250_Click(int index) {
    const CommandGuard guard(app_, busy_, [this] { changed(); });
    if (!guard || index < 0 || index > 1) return;
    AddSlave = "246";
    changed();
    double value = index == 0 ? -32768 : 0;
    ScriviRegistro(app_, app_.comm.CurrentDevice.NodeAddress, EnableRegister, value);
}
