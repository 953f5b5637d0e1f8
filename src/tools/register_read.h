#pragma once
// Reading registers into the register table for the views that show them: contiguous registers go in
// block requests (function 4, up to 125 registers each) rather than one request per register, so that a
// watch list keeps its period on a slow serial line. A register whose value type is 32 bits wide shows
// the pair it starts (low word in it, high word in the next register), so its partner is read with it.
#include <vector>

struct AppContext;

// The registers of the selected model: 0 .. count - 1, never past the register table.
int modelRegisterCount(const AppContext& ctx);

// The requests for these registers and their pair partners: (first, count) per block, in register order.
struct RegisterBlock {
    int first = 0;
    int count = 0;
};
std::vector<RegisterBlock> registerBlocks(const AppContext& ctx, const std::vector<int>& regs);

// Reads the blocks of registerBlocks from the current controller and stores the values: each register
// its word, a register of a 32-bit type the value of its pair. Stops at the first failed request (false);
// the registers of blocks not read, and a pair whose second word was not read, keep their values.
bool readRegisters(AppContext& ctx, const std::vector<int>& regs);
