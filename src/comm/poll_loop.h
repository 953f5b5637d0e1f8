#pragma once
// The polling loops of the debug keys and the tool windows: one pass every period, with window events
// processed meanwhile, so their stop keys (which set PollStop) and a lost link end them.
#include <functional>

struct AppContext;

// How the loop waits between passes: the debug keys' whole Pausa, or a wait that a stop or a lost link
// ends at once (the tool windows, whose close ends their loop at once).
enum class PollWait { Pausa, UntilStop };

// When the first pass runs: after the first wait (the debug keys, whose own command went before), or at
// once (the tool windows, whose first read is already the loop's: a close meanwhile asks before ending it).
enum class PollStart { AfterWait, AtOnce };

// Waits `seconds`, then runs pass, while PollStop is 0, the link is open and pass returns true;
// PollBusy is set meanwhile. The caller clears PollStop before.
void PollLoop(AppContext& ctx, double seconds, const std::function<bool()>& pass,
              PollWait wait = PollWait::Pausa, PollStart start = PollStart::AfterWait);
