#pragma once
// The "connect" command: start from a closed link, connect, and only on an open link check the
// device model and, on programmable models, read the debug mode.
struct AppContext;
struct ShellProcedures;

void ConnectSequence(AppContext& ctx, const ShellProcedures& procs);
// The device model check; a model it changes (found and accepted) is saved at once.
void checkModel(AppContext& ctx, const ShellProcedures& procs);
// True when the current model is one of the controller rows whose debug mode the settings dialog reads.
bool isControllerModel(const AppContext& ctx);
