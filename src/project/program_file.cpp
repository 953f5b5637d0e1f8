// ".prj": the main file of the set.
#include <algorithm>

#include "program/program_store_ops.h"
#include "project/item_writer.h"
#include "project/project_files.h"

namespace {

constexpr int StoredArgSlots = 8; // slot 8 and its text are not in the file
constexpr int RungItems = 48;     // items 2..49 of a tagged block

void writeRung(ItemWriter& out, const CommandRecord& r) {
    out.tag("<FUNC>");
    out.text(r.Description);
    out.text(r.Label);
    out.number(static_cast<int16_t>(r.FunctionType));
    out.number(r.SubOp);
    out.number(static_cast<int16_t>(r.Opcode));
    for (int k = 0; k < StoredArgSlots; ++k) {
        out.text(r.ArgTexts[k]);
        for (uint8_t b : r.ArgBytes[k])
            out.number(b);
    }
    out.flag(r.TriggerFlag);
    out.number(static_cast<int16_t>(r.TriggerRegister));
    out.number(static_cast<int16_t>(r.TriggerMask));
    out.tag("</FUNC>");
}

void readRung(ItemReader& in, CommandRecord& r) {
    in.text(r.Description);
    in.text(r.Label);
    in.integer(r.FunctionType);
    in.byte(r.SubOp);
    in.integer(r.Opcode);
    for (int k = 0; k < StoredArgSlots; ++k) {
        in.text(r.ArgTexts[k]);
        for (uint8_t& b : r.ArgBytes[k])
            in.byte(b);
    }
    in.flag(r.TriggerFlag);
    in.integer(r.TriggerRegister);
    in.integer(r.TriggerMask);
}

// A new empty rung at the end of the current section, made current; nullptr when the section is full.
CommandRecord* appendRung(ProgramStore& store) {
    int16_t rung = AppendRung(store);
    if (rung == 0) return nullptr;
    store.CurrentRung = rung;
    CommandRecord& r = store.current().Rungs[static_cast<size_t>(rung)];
    r = CommandRecord{}; // the slot may hold a rung of an earlier, longer program
    return &r;
}

} // namespace

std::string programFileVersion(std::string_view data) {
    ItemReader in(data, ItemMode::Items);
    return in.next().value_or("");
}

std::string writeProgramFile(const ProgramSection& section, std::string_view version,
                             std::string_view modelCode) {
    ItemWriter out;
    out.text(version);
    out.text(modelCode);
    int count = std::clamp<int>(section.RungCount, 0, MaxRungs);
    for (int r = 1; r <= count; ++r)
        writeRung(out, section.Rungs[static_cast<size_t>(r)]);
    return out.contents();
}

void readProgramFile(std::string_view data, SetLayout& layout, ProgramStore& store,
                     const std::function<void(int16_t rung)>& onRung, LoadReport& report) {
    const std::string file = ".prj";
    store.CurrentSection = 0;
    ItemReader in(data, layout.mode());
    std::string header;
    in.text(header); // version, already examined by the caller
    in.text(header); // model code: for information only
    int64_t dropped = 0;
    auto takeRung = [&](const std::function<void(CommandRecord&)>& fill) {
        CommandRecord* r = appendRung(store);
        if (!r) {
            ++dropped;
            CommandRecord scratch;
            fill(scratch);
            return;
        }
        fill(*r);
        if (onRung) onRung(store.CurrentRung);
    };

    if (layout.tagged) {
        while (auto item = in.next()) {
            if (*item != "<FUNC>") {
                ++in.skipped;
                continue;
            }
            takeRung([&](CommandRecord& r) {
                readRung(in, r);
                if (!in.skipTo("</FUNC>")) in.truncated = true;
            });
        }
    } else {
        in.longInt(layout.recordLength);
        int32_t count = 0;
        in.longInt(count);
        for (int32_t c = 0; c < count; ++c) {
            if (in.atEnd()) {
                in.truncated = true; // fewer rungs than the header counts
                break;
            }
            takeRung([&](CommandRecord& r) {
                readRung(in, r);
                in.skip(static_cast<int64_t>(layout.recordLength) - RungItems);
            });
        }
    }
    report.noteItems(file, in);
    report.noteDropped(file, "rung(s)", dropped, MaxRungs);
}
