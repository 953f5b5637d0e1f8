#pragma once
// The numbers typed into the factory windows' boxes: read strictly (the whole text a finite number), and
// shown as the operators know them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Blanks around the number are ignored and "," is taken for the decimal point; anything else that is
// not part of one finite number gives nothing.
std::optional<double> fieldNumber(std::string_view text);
// The number rounded to a whole one (halves to even), when it lies in lo..hi.
std::optional<int> fieldWhole(std::string_view text, int lo, int hi);
// A byte typed as 0..255; a slave address.
std::optional<uint8_t> fieldByte(std::string_view text);
// A signed byte typed as -128..127, as the module stores it (two's complement).
std::optional<uint8_t> signedFieldByte(std::string_view text);
// A stored signed byte as it is shown: 255 is "-1".
std::string signedByteText(uint8_t b);
// A value a single-precision float holds: finite and within its range.
bool fitsSingle(double value);
// The text as such a value (a K constant).
std::optional<double> singleValue(std::string_view text);
// Up to 15 significant digits, no trailing zeros: 0.99009900990099, 1, 1E+20.
std::string significantText(double value);
// Four decimals: 1.2345.
std::string fixed4(double value);
