#include "tools/register_read.h"

#include <algorithm>
#include <optional>

#include "comm/input_register_read.h"
#include "core/app_context.h"
#include "tools/register_value_text.h"

namespace {

// The registers asked for and their pair partners inside the model, sorted, each once.
std::vector<int> wantedRegisters(const AppContext& ctx, const std::vector<int>& regs) {
    const int count = modelRegisterCount(ctx);
    std::vector<int> wanted;
    for (int r : regs) {
        if (r < 0 || r >= RegisterCount) continue;
        wanted.push_back(r);
        if (isPairType(ctx.comm.Registers[static_cast<size_t>(r)].ValueType) && r + 1 < count)
            wanted.push_back(r + 1);
    }
    std::sort(wanted.begin(), wanted.end());
    wanted.erase(std::unique(wanted.begin(), wanted.end()), wanted.end());
    return wanted;
}

// Sorted registers joined into requests: a register after a gap of up to maxGap joins the block when it
// lies inside the model's count registers and the block stays within one request.
std::vector<RegisterBlock> blocksOf(const std::vector<int>& wanted, int count, int maxGap) {
    std::vector<RegisterBlock> blocks;
    for (int r : wanted) {
        if (!blocks.empty()) {
            RegisterBlock& b = blocks.back();
            const int gap = r - (b.first + b.count);
            if ((gap == 0 || (gap <= maxGap && r < count)) && r - b.first < MaxInputRegisterBlock) {
                b.count = r - b.first + 1;
                b.bridged = b.bridged || gap > 0;
                continue;
            }
        }
        blocks.push_back({r, 1, false});
    }
    return blocks;
}

} // namespace

int modelRegisterCount(const AppContext& ctx) {
    return std::min<int>(ctx.model().NumRegisters, RegisterCount);
}

std::vector<RegisterBlock> registerBlocks(const AppContext& ctx, const std::vector<int>& regs, int maxGap) {
    return blocksOf(wantedRegisters(ctx, regs), modelRegisterCount(ctx), maxGap);
}

bool readRegisters(AppContext& ctx, const std::vector<int>& regs, RefusedBlocks* refused) {
    auto& table = ctx.comm.Registers;
    const std::vector<int> wanted = wantedRegisters(ctx, regs);
    const int count = modelRegisterCount(ctx);
    const uint8_t node = ctx.comm.CurrentDevice.NodeAddress;
    std::vector<bool> asked(RegisterCount, false), read(RegisterCount, false);
    std::vector<uint16_t> words(RegisterCount, 0);
    for (int r : wanted)
        asked[static_cast<size_t>(r)] = true;
    const auto store = [&](const RegisterBlock& b, const std::vector<uint16_t>& values) {
        for (int i = 0; i < b.count; ++i) {
            const auto r = static_cast<size_t>(b.first + i);
            if (!asked[r]) continue; // read along only
            read[r] = true;
            words[r] = values[static_cast<size_t>(i)];
        }
    };
    // A bridged block the device refuses is read again in the blocks of its adjacent registers.
    const auto readBlock = [&](const RegisterBlock& b) {
        const bool known = refused && std::find(refused->begin(), refused->end(), b) != refused->end();
        if (b.bridged && !known) {
            bool refusal = false;
            if (auto values = LeggiRegistriInputOrRefusal(ctx, node, b.first, b.count, refusal)) {
                store(b, *values);
                return true;
            }
            if (!refusal) return false;
            ctx.shell.log.LogStart();
            ctx.shell.log.LogWrite("Registers " + std::to_string(b.first) + " to " +
                                   std::to_string(b.first + b.count - 1) +
                                   " refused in one request: read in smaller blocks");
            if (refused) refused->push_back(b);
        }
        const auto from = std::lower_bound(wanted.begin(), wanted.end(), b.first);
        const auto to = std::lower_bound(from, wanted.end(), b.first + b.count);
        const std::vector<RegisterBlock> parts =
            b.bridged ? blocksOf(std::vector<int>(from, to), count, 0) : std::vector<RegisterBlock>{b};
        for (const RegisterBlock& part : parts) {
            auto values = LeggiRegistriInput(ctx, node, part.first, part.count);
            if (!values) return false;
            store(part, *values);
        }
        return true;
    };
    bool ok = true;
    for (const RegisterBlock& b : blocksOf(wanted, count, MaxBridgedGap)) {
        ok = readBlock(b);
        if (!ok) break;
    }
    for (size_t r = 0; r < table.size(); ++r) {
        if (!read[r]) continue;
        if (!isPairType(table[r].ValueType) || r + 1 >= static_cast<size_t>(count))
            table[r].Value = words[r];
        else if (read[r + 1]) // a pair split over two blocks, the second not read, keeps its value
            table[r].Value = static_cast<int32_t>(uint32_t{words[r]} | uint32_t{words[r + 1]} << 16);
    }
    return ok;
}
