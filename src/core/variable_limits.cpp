#include "core/variable_limits.h"

#include <cstdint>

namespace {

constexpr int64_t LastAddress = 65535;
constexpr int64_t StringSlotSize = 32;

std::string outside(const char* field, int64_t value, int64_t last, const char* what) {
    return std::string(field) + " " + std::to_string(value) + ": the model's " + what + " are 0 to " +
           std::to_string(last);
}

} // namespace

std::string VariableRegisterRefusal(const VariableRecord& v, const ModelRecord& model) {
    const int64_t lastRegister = int64_t{model.NumRegisters} - 1;
    auto reg = [&](const char* field, int64_t value) {
        return value >= 0 && value <= lastRegister ? std::string()
                                                   : outside(field, value, lastRegister, "registers");
    };
    const int64_t lastString = (LastAddress - int64_t{model.StringsBase}) / StringSlotSize;
    auto string = [&](const char* field, int64_t value) {
        return value >= 0 && value <= lastString ? std::string()
                                                 : outside(field, value, lastString, "string numbers");
    };
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
