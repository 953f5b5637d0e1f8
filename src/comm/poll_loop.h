#pragma once
// The polling loops of the debug keys and the tool windows: one pass every period, with window events
// processed meanwhile, so their stop keys (which set PollStop) and a lost link end them.
#include <functional>

struct AppContext;

// Waits `seconds`, then runs pass, while PollStop is 0, the link is open and pass returns true;
// PollBusy is set meanwhile. A stop or a lost link ends the wait at once. The caller clears PollStop
// before.
void PollLoop(AppContext& ctx, double seconds, const std::function<bool()>& pass);
