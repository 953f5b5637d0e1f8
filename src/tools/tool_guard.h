#pragma once
// The tool windows share the one link with the debug keys and each other: a tool starts its device
// traffic only when no request waits for its answer and no polling loop runs, and sends nothing between
// the requests of a run (a download, a memory transfer).
struct AppContext;

// True when the tool may start; otherwise one log line says why and nothing is sent.
bool ToolMayStart(AppContext& ctx);
// True when no run is under way, so a single request of a tool may go; otherwise one log line says why.
bool ToolMaySend(AppContext& ctx);
