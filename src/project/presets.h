#pragma once
// The fixed variable sets the variables window writes with one button: the controller's system
// variables and the variables of an energy meter.
#include "project/project_data.h"

// Writes the system variables into their fixed slots; the count stays as it is.
void SetSystemVar(VariableTable& vars);
// Rewrites variables 0..164 with the energy-meter set and sets the count to 165.
void SetNWVar(VariableTable& vars);
