#include "tools/register_value_text.h"

#include "comm/byte_helpers.h"

namespace {

// ValueTypeNames codes of the 16-bit forms.
constexpr uint8_t TypeUInt = 0;
constexpr uint8_t TypeInt = 1;
constexpr uint8_t TypeHex = 7;
constexpr uint8_t TypeAscii = 8;
constexpr uint8_t TypeBin = 9;

} // namespace

std::string registerValueText(int32_t value, uint8_t valueType) {
    switch (valueType) {
    case TypeUInt:
        return std::to_string(value & 0xFFFF);
    case TypeInt:
        return std::to_string(static_cast<int16_t>(value & 0xFFFF));
    case TypeHex:
        return IntToHex4(value);
    case TypeAscii:
        return IntToAscii2(value);
    case TypeBin:
        return IntToBin16(value, true);
    default:
        return std::to_string(value); // the wider forms keep the value as it was stored
    }
}
