#pragma once
// A block of input registers (Modbus function 4) read in one request, for the views that poll them.
#include <cstdint>
#include <optional>
#include <vector>

struct AppContext;

// Largest block one function-4 request may ask for.
constexpr int MaxInputRegisterBlock = 125;

// Registers first .. first + count - 1 of the slave, 0..65535 each. On any failure (count outside
// 1..125, a failed transaction, an answer whose byte count is not the one asked for or that arrived
// short) logs "Error" after the date-and-time line and returns nothing, so callers can tell a failed
// read from a register that holds 0.
std::optional<std::vector<uint16_t>> LeggiRegistriInput(AppContext& app, uint8_t slave, int first, int count);

// As LeggiRegistriInput, for a block that also spans registers nobody asked for, which the device may not
// have: an exception answer (the device refuses the block) sets refused and returns nothing without a
// message box, without the "Error" line and with PollStop as it was, so that the caller can read the block
// in parts. Any other failure is logged as by LeggiRegistriInput; message boxes stay off throughout.
std::optional<std::vector<uint16_t>> LeggiRegistriInputOrRefusal(AppContext& app, uint8_t slave, int first,
                                                                 int count, bool& refused);
