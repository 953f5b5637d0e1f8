#include "tools/register_read.h"

#include <algorithm>

#include "comm/input_register_read.h"
#include "core/app_context.h"
#include "tools/register_value_text.h"

int modelRegisterCount(const AppContext& ctx) {
    return std::min<int>(ctx.model().NumRegisters, RegisterCount);
}

std::vector<RegisterBlock> registerBlocks(const AppContext& ctx, const std::vector<int>& regs) {
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
    std::vector<RegisterBlock> blocks;
    for (int r : wanted) {
        if (blocks.empty() || blocks.back().first + blocks.back().count != r ||
            blocks.back().count == MaxInputRegisterBlock)
            blocks.push_back({r, 0});
        ++blocks.back().count;
    }
    return blocks;
}

bool readRegisters(AppContext& ctx, const std::vector<int>& regs) {
    auto& table = ctx.comm.Registers;
    std::vector<bool> read(RegisterCount, false);
    std::vector<uint16_t> words(RegisterCount, 0);
    bool ok = true;
    for (const RegisterBlock& b : registerBlocks(ctx, regs)) {
        auto values = LeggiRegistriInput(ctx, ctx.comm.CurrentDevice.NodeAddress, b.first, b.count);
        if (!values) {
            ok = false;
            break;
        }
        for (int i = 0; i < b.count; ++i) {
            const auto r = static_cast<size_t>(b.first + i);
            read[r] = true;
            words[r] = (*values)[static_cast<size_t>(i)];
        }
    }
    const auto count = static_cast<size_t>(modelRegisterCount(ctx));
    for (size_t r = 0; r < table.size(); ++r) {
        if (!read[r]) continue;
        if (!isPairType(table[r].ValueType) || r + 1 >= count)
            table[r].Value = words[r];
        else if (read[r + 1]) // a pair split over two blocks, the second not read, keeps its value
            table[r].Value = static_cast<int32_t>(uint32_t{words[r]} | uint32_t{words[r + 1]} << 16);
    }
    return ok;
}
