#pragma once
// Reading registers into the register table for the views that show them. The registers asked for, and
// the partner of each one of a 32-bit type (low word in it, high word in the next register), go in as few
// function-4 requests as pay on a slow serial line: a new request costs about 20 characters on the wire
// and a register read along 2, so gaps of up to MaxBridgedGap registers inside the model's registers are
// read along, at most 125 registers to a request. The values read along are not stored. A device that
// refuses such a request with an exception answer is read in the blocks of adjacent registers instead.
#include <vector>

struct AppContext;

constexpr int MaxBridgedGap = 9;

// The registers of the selected model: 0 .. count - 1, never past the register table.
int modelRegisterCount(const AppContext& ctx);

// The requests for these registers and their pair partners, in register order; gaps of up to maxGap
// registers are read along.
struct RegisterBlock {
    int first = 0;
    int count = 0;
    bool bridged = false; // reads registers along that nobody asked for
    bool operator==(const RegisterBlock&) const = default;
};
std::vector<RegisterBlock> registerBlocks(const AppContext& ctx, const std::vector<int>& regs,
                                          int maxGap = MaxBridgedGap);

// Bridged blocks the device refused: read in their parts from then on, without asking again.
using RefusedBlocks = std::vector<RegisterBlock>;

// Reads the blocks of registerBlocks from the current controller and stores the values: each register
// its word, a register of a 32-bit type the value of its pair. Stops at the first failed request (false);
// the registers of blocks not read, and a pair whose second word was not read, keep their values. A
// refused bridged block is logged once and added to refused, when given.
bool readRegisters(AppContext& ctx, const std::vector<int>& regs, RefusedBlocks* refused = nullptr);
