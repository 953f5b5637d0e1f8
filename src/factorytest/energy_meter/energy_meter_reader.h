#pragma once
// frm_Q7R218 without its window: the six blocks read once ("Update") or over and over ("Start" to
// "Stop"), each into its list.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "factorytest/fields/closing_pump.h"

struct AppContext;

class EnergyMeterReader {
  public:
    explicit EnergyMeterReader(AppContext& app);

    std::string Indirizzo = "5";
    // The rows of the six blocks, in block order (List1, List5, List6, List2, List3, List4).
    std::array<std::vector<std::string>, 6> lists;
    std::function<void()> onChanged;

    // A read or the continuous reading runs: Update and Start wait for its end.
    bool busy() const { return busy_; }
    bool polling() const { return polling_; }

    void Form_Load();
    // One complete read; false when a block failed (those after it keep their rows).
    bool cmd_Read_Click();
    void cmd_start_Click();
    void cmd_stop_Click();
    // The window closes: the continuous reading ends before its next read.
    void Form_Unload();

  private:
    // The six blocks; in the continuous reading, with a pass of the event loop between two.
    bool readAll(uint8_t slave);
    std::optional<uint8_t> slave();
    void changed();

    AppContext& app_;
    ClosingPump pump_;
    bool busy_ = false;
    bool polling_ = false;
};
