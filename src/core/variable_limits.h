#pragma once
// The registers and string numbers a variable may name on a model.
#include <string>

#include "core/model_record.h"
#include "core/project_data.h"

// Why the variable names a register or string the model does not have: the field, its value and the
// model's range ("Input Reg 5000: the model's registers are 0 to 1279"); empty when every field it sends
// fits. Numeric, date and time variables send their register; string variables their default location
// (type 13, a register) or string number (type 14), and with an alternate (a mask) also the alternate
// and the trigger register. A string number's 32-byte slot lies in the controller's 16-bit addresses.
std::string VariableRegisterRefusal(const VariableRecord& v, const ModelRecord& model);

// The model's range for a register field or a string number field, as the refusals name it: "the
// model's registers are 0 to 1279", "the model's string numbers are 0 to 927".
std::string VariableFieldRange(bool stringNumber, const ModelRecord& model);
