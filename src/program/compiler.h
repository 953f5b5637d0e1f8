#pragma once
// The compiler driver: the whole project into the controller's program image.
#include <cstdint>

struct AppContext;

// Compiles the project for the current model into app.project.ProgramImage, writes the report to the log
// and returns the image bytes in use; 0 when the compile failed (app.project.Compiler holds the errors).
// The display pages and the tasks are first rebuilt from what the designers hold.
int32_t CompilaProgramma(AppContext& app);

// The rung of each rung-table entry, for the debugger, as a compile of the project would make it; the
// project, the image and the log stay as they are. No map when the project does not compile.
void MapRungEntries(AppContext& app);

// The same compile over the page sections and task blocks as they stand, without rebuilding them.
int32_t CompileImage(AppContext& app);
