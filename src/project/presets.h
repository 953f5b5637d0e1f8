#pragma once
// The fixed variable sets the variables window writes with one button: the controller's system
// variables and the variables of an energy meter.
#include "core/user_dialogs.h"
#include "core/project_data.h"

// Writes the system variables into their fixed slots; the count stays as it is.
void SetSystemVar(VariableTable& vars);
// Rewrites variables 0..164 with the energy-meter set and sets the count to 165.
void SetNWVar(VariableTable& vars);

// The buttons of the variables window: "Set System Var" asks first. Both mark the project modified, so
// that the rewritten variables are not lost by closing without a save.
bool presetSystemVariables(VariableTable& vars, UserDialogs& dialogs, int16_t& modified);
void presetMeterVariables(VariableTable& vars, int16_t& modified);
