#include "tools/register_value_text.h"

#include <charconv>

#include "core/app_context.h"
#include "core/value_type_codes.h"
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
    case KindULong:
        return std::to_string(static_cast<uint32_t>(value));
    case KindFloat:
    case KindKFlt: {
        const auto bits = static_cast<uint32_t>(value);
        const float f =
            BytesToFloat(uint8_t(bits >> 24), uint8_t(bits >> 16), uint8_t(bits >> 8), uint8_t(bits));
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, f).ptr;
        return std::string(text, end);
    }
    default:
        return std::to_string(value); // Long and the other forms: the value as it was stored
    }
}

RegisterRow registerRow(const AppContext& ctx, int reg) {
    const RegisterRecord& r = ctx.comm.Registers[static_cast<size_t>(reg)];
    const auto& types = ctx.shell.ValueTypeNames;
    return {reg, r.Label, r.Name, registerValueText(r.Value, r.ValueType),
            r.ValueType < types.size() ? types[r.ValueType] : std::string()};
}
