#include "core/variable_limits.h"

#include <cstdint>

namespace {

constexpr int64_t LastAddress = 65535;
constexpr int64_t StringSlotSize = 32;

int64_t lastNumber(bool stringNumber, const ModelRecord& model) {
    return stringNumber ? (LastAddress - int64_t{model.StringsBase}) / StringSlotSize
                        : int64_t{model.NumRegisters} - 1;
}

} // namespace

std::string VariableFieldRange(bool stringNumber, const ModelRecord& model) {
    return std::string("the model's ") + (stringNumber ? "string numbers" : "registers") + " are 0 to " +
           std::to_string(lastNumber(stringNumber, model));
}

std::string VariableRegisterRefusal(const VariableRecord& v, const ModelRecord& model) {
    auto check = [&](const char* field, int64_t value, bool stringNumber) {
        return value >= 0 && value <= lastNumber(stringNumber, model)
                   ? std::string()
                   : std::string(field) + " " + std::to_string(value) + ": " +
                         VariableFieldRange(stringNumber, model);
    };
    auto reg = [&](const char* field, int64_t value) { return check(field, value, false); };
    auto string = [&](const char* field, int64_t value) { return check(field, value, true); };
    const bool alternate = v.Mask != 0;
    std::string why;
    if (v.ValueType <= 12 || v.ValueType == 16 || v.ValueType == 17) {
        why = reg("Input Reg", v.Register);
    } else if (v.ValueType == 13) {
        why = reg("Location Reg (Default)", v.Register);
        if (why.empty() && alternate) why = reg("Location Reg (Alt)", v.AltRegister);
    } else if (v.ValueType == 14) {
        why = string("String ID (Default)", v.Register);
        if (why.empty() && alternate) why = string("String ID (Alt)", v.AltRegister);
    }
    if (why.empty() && alternate && (v.ValueType == 13 || v.ValueType == 14))
        why = reg("Trigger Reg", v.TriggerRegister);
    return why;
}
