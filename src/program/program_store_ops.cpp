#include "program/program_store_ops.h"

#include <algorithm>

void ClearCurrentSection(ProgramStore& store) {
    ProgramSection& sec = store.current();
    for (int r = 1; r <= sec.RungCount && r <= MaxRungs; ++r) clearRung(sec.Rungs[static_cast<size_t>(r)]);
    sec.RungCount = 0;
    store.CurrentRungCount = 0;
    store.CurrentRung = 0;
}

int16_t AppendRung(ProgramStore& store) {
    ProgramSection& sec = store.current();
    if (sec.RungCount >= MaxRungs) return 0;
    sec.RungCount += 1;
    store.CurrentRungCount = sec.RungCount;
    return sec.RungCount;
}

void SetDescription(CommandRecord& r, const std::string& text) {
    r.Description = text;
    r.Description.erase(std::remove(r.Description.begin(), r.Description.end(), ','), r.Description.end());
}

int16_t LinearizationRung(const ProgramStore& store, int table) {
    const ProgramSection& main = store.Sections[0];
    for (int r = 1; r <= main.RungCount && r <= MaxRungs; ++r) {
        const CommandRecord& rung = main.Rungs[static_cast<size_t>(r)];
        if (isLinearization(rung) && rung.ArgBytes[2][0] == table) return static_cast<int16_t>(r);
    }
    return 0;
}
