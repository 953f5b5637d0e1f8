#pragma once
// Device identification (input registers 1 and 2) and the check of the project's model against it.
#include <cstdint>
#include <optional>
#include <string>

struct AppContext;

// The identification text of answer bytes b0..b3: upper-case hex, no leading zeros per byte
// (01 0A 00 0F gives "1A0F").
std::string IdentificationCode(uint8_t b0, uint8_t b1, uint8_t b2, uint8_t b3);

// Reads the device's code and selects the matching catalogue row into modelIndex (the last match wins);
// no match: a message box and row 48. Always true.
bool IdentificaModello(AppContext& app, uint8_t& modelIndex);
// Identifies the device and, when its model differs from the project's, asks which to keep; then rebuilds
// the register names for the model kept.
void VerificaModello(AppContext& app);
