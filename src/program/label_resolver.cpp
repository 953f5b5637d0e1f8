#include "program/label_resolver.h"

#include <algorithm>

#include "program/compile_job.h"
#include "program/entry_kinds.h"

namespace {

int entriesOf(const ProgramSection& s) {
    return static_cast<int>(std::count_if(s.Rungs.begin() + 1, s.Rungs.begin() + 1 + rungCount(s),
                                          [](const CommandRecord& r) { return producesEntry(r.FunctionType); }));
}

// Flow functions and the argument slot each target text is written to, in resolution order.
struct TargetRule {
    uint16_t opcode;
    int text;
    int slot;
};
constexpr TargetRule TargetRules[] = {
    {129, 4, 1}, {129, 5, 3}, // If(bit) -> Goto
    {130, 4, 0},              // Goto
    {131, 4, 0},              // Call
    {139, 4, 1},              // If(bit) -> Call
    {147, 4, 3},              // While < N
};

constexpr uint16_t DisplayOpcode = 3;
constexpr uint8_t CallPageSubOp = 253;

// Resolves one target into bytes 0-1 of the slot; false (with "Label Error") when the label is missing.
bool resolveTarget(CompileJob& job, CommandRecord& rec, const std::string& name, int slot) {
    int16_t k = IndiceEtichetta(job, name);
    if (k <= 0) {
        job.fail(CompileText::LabelError);
        return false;
    }
    rec.ArgBytes[static_cast<size_t>(slot)][0] = static_cast<uint8_t>(k - 1);
    rec.ArgBytes[static_cast<size_t>(slot)][1] = static_cast<uint8_t>((k - 1) >> 8);
    return true;
}

// "Call Page": slot 0 opens the list, slots 1..P hold the first entry of each page section.
void resolvePageList(CompileJob& job, CommandRecord& rec) {
    rec.ArgBytes[0][0] = CallPageSubOp;
    int pages = job.pageSections;
    if (pages == 0) return;
    rec.ArgBytes[0][3] = static_cast<uint8_t>(pages - 1);
    for (int p = 0; p < pages; ++p)
        if (!resolveTarget(job, rec, "PAG" + std::to_string(p + 1), p + 1)) return;
    rec.DataSize = static_cast<uint16_t>(4 * pages + 6);
}

} // namespace

int16_t IndiceEtichetta(const CompileJob& job, const std::string& name) {
    // An empty target names no rung (not the last unlabelled one).
    if (name.empty()) return 0;
    int result = 0;
    if (name == "DISPLAY") result = entriesOf(job.section(job.project.Program.CurrentSection)) + 1;
    if (!job.labelEntries) {
        // Counting entries, not rungs, keeps targets right behind rungs that compile to nothing; the
        // last rung carrying a label wins.
        auto& index = job.labelEntries.emplace();
        int entries = 0;
        for (int s = 0; s <= job.pageSections; ++s) {
            const ProgramSection& sec = job.section(s);
            for (int r = 1; r <= rungCount(sec); ++r) {
                const CommandRecord& rung = sec.Rungs[static_cast<size_t>(r)];
                if (!rung.Label.empty()) index[rung.Label] = static_cast<int16_t>(entries + 1);
                if (producesEntry(rung.FunctionType)) ++entries;
            }
        }
    }
    if (auto it = job.labelEntries->find(name); it != job.labelEntries->end()) result = it->second;
    return static_cast<int16_t>(result);
}

void RisolviArgomenti(CompileJob& job, int rung) {
    job.state.CompileErrorText.clear();
    CommandRecord& rec = job.section(job.project.Program.CurrentSection).Rungs[static_cast<size_t>(rung)];
    if (rec.Opcode == DisplayOpcode && rec.SubOp == CallPageSubOp) {
        resolvePageList(job, rec);
        return;
    }
    for (const TargetRule& rule : TargetRules) {
        if (rule.opcode != rec.Opcode) continue;
        if (!resolveTarget(job, rec, rec.ArgTexts[static_cast<size_t>(rule.text)], rule.slot)) return;
    }
}
