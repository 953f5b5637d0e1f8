#pragma once
// The mode byte of the link's device as a bench sets it: the main window's status bar and keys then show
// the mode the device was left in, as they show the mode a connect reads.
struct AppContext;

// Writes debug (true) or release mode to the link's device; true when it took the request. A write that
// failed leaves the mode unknown, so nothing goes on claiming debug mode or offering the download.
bool SetControllerMode(AppContext& app, bool debug);
