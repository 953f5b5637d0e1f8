// ".lst" (register names) and ".wtc" (watch list).
#include <algorithm>

#include "project/item_writer.h"
#include "project/project_files.h"

namespace {

constexpr int MaxWatched = 100;

int lastRegister(const ModelRecord& model) {
    return std::min<int>(model.NumRegisters, RegisterCount - 1);
}

} // namespace

std::string writeRegisterFile(const std::array<RegisterRecord, RegisterCount>& regs,
                              const ModelRecord& model) {
    ItemWriter out;
    for (int i = 0; i <= lastRegister(model); ++i) {
        out.text(regs[static_cast<size_t>(i)].Name);
        out.number(regs[static_cast<size_t>(i)].ValueType);
    }
    return out.contents();
}

void readRegisterFile(std::string_view data, ItemMode mode, std::array<RegisterRecord, RegisterCount>& regs,
                      const ModelRecord& model, LoadReport& report) {
    ItemReader in(data, mode);
    for (int i = 0; i <= lastRegister(model); ++i) {
        // The model's own registers keep the names and types the model gives them.
        RegisterRecord scratch;
        RegisterRecord& r = i < model.FirstUserRegister ? scratch : regs[static_cast<size_t>(i)];
        in.text(r.Name);
        in.byte(r.ValueType);
    }
    report.noteItems(".lst", in);
}

std::string writeWatchFile(const WatchList& watch) {
    ItemWriter out;
    int count = std::clamp<int>(watch[0], 0, MaxWatched);
    out.number(count);
    for (int i = 1; i <= count; ++i)
        out.number(watch[static_cast<size_t>(i)]);
    return out.contents();
}

void readWatchFile(std::string_view data, ItemMode mode, WatchList& watch, LoadReport& report) {
    ItemReader in(data, mode);
    int16_t count = watch[0];
    in.integer(count);
    if (count < 0) {
        report.add(".wtc: negative count " + std::to_string(count) + " read as 0");
        count = 0;
    }
    report.noteDropped(".wtc", "register(s)", count - MaxWatched, MaxWatched);
    const int16_t kept = std::min<int16_t>(count, MaxWatched);
    watch[0] = kept;
    for (int i = 1; i <= kept; ++i)
        in.integer(watch[static_cast<size_t>(i)]);
    in.skip(count - kept); // reported above
    report.noteItems(".wtc", in);
}
