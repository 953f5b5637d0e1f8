#pragma once
// ConfJXV4174 without its window: the offsets, CJC offsets and K constants of the four-channel input
// modules read and written one by one, the input types and the single or continuous measurement.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "factorytest/fields/closing_pump.h"
#include "factorytest/multichannel_config/input_calibration_memory.h"

struct AppContext;

class MultiChannelConfig {
  public:
    explicit MultiChannelConfig(AppContext& app);

    std::string AddSlave = "247";
    int device_ty = -1;
    int input_ty = -1;
    bool inputTypesShown = false;
    std::vector<std::string> inputTypes; // input_ty's items
    std::array<std::string, MeasuredChannels> txt_Input_Type;
    std::array<std::string, MeasuredChannels> txt_Input;
    std::array<std::string, SlotCount> txt_Input_Offset;
    std::array<std::string, SlotCount> txt_Input_K;
    std::array<std::string, CjcCount> txt_OffsetCJC;
    std::array<bool, CjcCount> cjcEnabled;
    std::string Text1 = "10000", Text2 = "10000", Text3 = "Text3";
    std::function<void()> onChanged;

    bool busy() const { return busy_; }
    bool polling() const { return polling_; }

    void device_ty_Click(int index);
    void input_ty_Click(int index);
    // Reads every constant; a failed read ends it with "Errore".
    void Command2_Click();
    void WriteOffset_Click(int slot);
    void WriteCJC_Click(int index);
    void WriteK_Click(int slot);
    void Set_all_z_Click();
    void Set_all_k_Click();
    void Set_all_CJC_Click();
    // One measurement; false when it failed (the readings keep their texts).
    bool Command3_Click();
    // Measures until Stop or a failure.
    void Command4_Click();
    void Command5_Click();
    void Command1_Click(); // "CALC k"
    // The window closes: a group reset or the continuous measurement ends before its next request.
    void Form_Unload();

  private:
    std::optional<uint8_t> slave();
    std::optional<std::array<uint8_t, MeasuredChannels>> typeCodes() const;
    bool measure(uint8_t node, const std::array<uint8_t, MeasuredChannels>& types);
    // Writes one box of a group; false (and a message) when its text cannot be stored.
    bool writeOffset(uint8_t node, uint16_t address, const std::string& text);
    bool writeK(uint8_t node, int slot);
    // Runs a group reset (what: its button's caption): each write, then half a second.
    void resetGroup(const char* what, int count, const std::function<void(uint8_t node, int i)>& write);
    void refuse(const char* text = "Errore!");
    void changed();

    AppContext& app_;
    ClosingPump pump_;
    bool busy_ = false;
    bool polling_ = false;
};
