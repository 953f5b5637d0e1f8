#pragma once
// Labels, names, kinds and value types of the register table for the selected device model.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/shell_state.h"
#include "core/comm_state.h"

struct AppContext;

// Register kinds: what a register is for.
enum RegisterKind : uint8_t { KindProject = 0, KindSystem = 1, KindSettings = 2, KindTopBlock = 3 };

// One register: type, kind, name, and the label kind prefix + number ("%R26").
// Returns false (and changes nothing) for a register outside 0..2048 or a kind above 4.
bool ImpostaRegistro(CommState& comm, const std::array<std::string, RegisterKindCount>& prefixes, int reg,
                     std::string_view name, uint8_t valueType, uint8_t kind);

// Names the registers of the model at comm.CurrentDevice.ModelIndex. keep false first clears the project
// registers (from FirstUserRegister on) and the top block; keep true leaves them as they are. Values are
// never touched. Ends by asking the register view to redraw.
void MappaRegistri(CommState& comm, const ShellState& shell, bool keep);
void MappaRegistri(AppContext& ctx, bool keep);
