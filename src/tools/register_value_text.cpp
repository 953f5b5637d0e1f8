#include "tools/register_value_text.h"

#include "app/value_type_codes.h"
#include "comm/byte_helpers.h"

std::string registerValueText(int32_t value, uint8_t valueType) {
    switch (valueType) {
    case KindUInt:
        return std::to_string(value & 0xFFFF);
    case KindInt:
        return std::to_string(static_cast<int16_t>(value & 0xFFFF));
    case KindHex:
        return IntToHex4(value);
    case KindAscii:
        return IntToAscii2(value);
    case KindBin:
        return IntToBin16(value, true);
    default:
        return std::to_string(value); // the wider forms keep the value as it was stored
    }
}
