#pragma once
// The tool windows share the one link with the debug keys and each other: a tool starts its device
// traffic only when no request waits for its answer and no polling loop runs, and sends nothing between
// the requests of a run (a download, a memory transfer).
#include <string>

struct AppContext;

// Empty when the tool may start; otherwise why not ("a polling loop is running"), after one log line
// that says it, and nothing is sent.
std::string ToolRefusal(AppContext& ctx);
// True when the tool may start; otherwise one log line says why and nothing is sent.
inline bool ToolMayStart(AppContext& ctx) {
    return ToolRefusal(ctx).empty();
}
// True when no run is under way, so a single request of a tool may go; otherwise one log line says why.
bool ToolMaySend(AppContext& ctx);
