#pragma once
// The hand-over between a caller that waits for a variable and the variables window: the caller sets
// VarPickerBusy to -1, shows the window and processes events until it is 0 again; VarPickerResult is the
// list index selected at OK (-1 for none, and when the window was closed without OK).
#include <cstdint>

struct VarPickerHandOver {
    int16_t VarPickerBusy = 0;
    int16_t VarPickerResult = -1;
};
