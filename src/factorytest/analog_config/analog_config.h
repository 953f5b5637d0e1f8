#pragma once
// ConfJXV7593 without its window: the configuration fields, the K frame and the service boxes, and the
// commands that read and write the module's configuration memory. The window draws `fields` and the
// texts below and forwards clicks and typing.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "factorytest/analog_config/analog_config_memory.h"
#include "factorytest/fields/closing_pump.h"

struct AppContext;

class AnalogConfig {
  public:
    explicit AnalogConfig(AppContext& app);

    AnalogConfigFields fields;
    std::string AddSlave = "247";
    std::array<std::string, ChannelCount> txt_Input_Mis{"10000", "3000", "1000", "10000",
                                                        "20000", "1",    "1",    "1"};
    // "Analog out": the two words of output 0 (Text5, Text4) and of output 1 (Text7, Text6).
    std::string Text5 = "0", Text4 = "19000", Text7 = "0", Text6 = "19000";
    // "Calc k": Text1 / Text2 into Text3.
    std::string Text1 = "10000", Text2 = "10000", Text3;
    std::function<void()> onChanged;

    bool busy() const { return busy_; }
    bool switching() const { return switching_; }

    // Read-all; stops at the first failed read, keeping what earlier reads showed.
    void Command2_Click();
    // 0 "Write": the module at AddSlave; 1 "Write Def": the current controller at its program end.
    void cmd_WriteProg_Click(int index);
    void SetDefault_Click(int k);
    // The measured value of a channel changed: K := nominal / measured, when both are known.
    void txt_Input_Mis_Change(int channel);
    void WriteK_Click(int channel) { ScriviK(channel, channel); }
    void ScriviK(int first, int last);

    // Service commands on the current device.
    void Out_Click(int output); // "Out 0" / "Out 1": the calibration words
    void Reset_Click(int output);
    void Force_Click(int output, bool twenty); // "0" / "20"
    void Command1_Click();                     // "Calc k"
    // The switching run of register 9 of slave 1; a click while it runs stops it.
    void Command11_Click();
    void En_8250_Click(int index);
    // The window closes: a write or the switching run ends before its next request.
    void Form_Unload();

  private:
    std::optional<uint8_t> slave();
    void refuse();
    void changed();

    AppContext& app_;
    ClosingPump pump_;
    bool busy_ = false;
    bool switching_ = false;
    bool stopSwitching_ = false;
};
