// Opening a stored rung in the editor, and rebuilding a stored rung from its texts.
#include <string>

#include "fbeditor/editor.h"

namespace {

// The stored texts into the rows, as the rung opening and the rebuild put them.
void fillRows(Editor& e, const CommandRecord& r) {
    e.setRowText(0, r.ArgTexts[0]);
    e.rowClick(0);
    for (int i = 1; i < ArgumentRowCount; ++i)
        e.setRowText(i, r.ArgTexts[static_cast<size_t>(i)]);
    // A Linearization keeps its table's number in slot 2: of tables sharing one name (made before names
    // had to differ) it picks the table the rung was encoded with.
    if (r.FunctionType == 3 && r.Opcode == 1 && r.SubOp == 8) {
        ComboBox& tables = e.state.Rows[1].Value;
        for (size_t j = 0; j < tables.Items.size(); ++j)
            if (tables.Items[j].Text == tables.Text && tables.Items[j].Data == r.ArgBytes[2][0])
                tables.select(static_cast<int>(j));
    }
}

// The delay as the file keeps it: a communication block's in argument bytes 16 (low) and 20 (high).
std::string storedDelay(const CommandRecord& r) {
    return std::to_string(r.ArgBytes[4][0] | r.ArgBytes[5][0] << 8);
}

} // namespace

void Editor::openRung(int16_t p) {
    ProgramStore& program = ctx_.project.Program;
    if (p < 0 || p > MaxRungs) return;
    program.CurrentRung = p;
    if (!Caricato) load();
    if (!bind(program.CurrentSection, p)) return;
    const CommandRecord r = stored();
    // A stored rung that the load could not encode opens with its own texts and value types, to be
    // corrected and added again; it stays not encoded until then.
    const bool notEncoded = r.FunctionType != 0 && r.EncodedFlag != -1;
    if (notEncoded) stored().EncodedFlag = -1;
    state.Label = r.Label;
    chooseFunction(FunzToOpt(r.FunctionType, r.Opcode, r.SubOp));
    if (notEncoded) stored().EncodedFlag = r.EncodedFlag;
    ctx_.pump.pausa(0.1);
    if (r.EncodedFlag != -1 && !notEncoded) return;
    fillRows(*this, r);
    state.Delay = notEncoded ? storedDelay(r) : std::to_string(r.Delay);
}

bool rebuildRungWithRow(AppContext& ctx, int16_t section, int16_t rung, RungRow& row) {
    if (section < 0 || section >= SectionCount || rung < 0 || rung > MaxRungs) return false;
    CommandRecord& rec =
        ctx.project.Program.Sections[static_cast<size_t>(section)].Rungs[static_cast<size_t>(rung)];
    // An empty rung has no function: rebuilding it would turn it into a "Read Input".
    if (rec.FunctionType == 0) return true;
    const int16_t wasEncoded = rec.EncodedFlag;
    rec.EncodedFlag = -1; // the set-up takes value types and trigger back from the stored rung
    Editor e(ctx);
    e.load();
    e.bind(section, rung);
    const CommandRecord r = rec;
    e.chooseFunction(FunzToOpt(r.FunctionType, r.Opcode, r.SubOp));
    e.state.Label = r.Label;
    fillRows(e, r);
    e.state.Delay = storedDelay(r);
    if (r.FunctionType == 3 && r.Opcode == 6 && r.SubOp == 0) e.typeClick(4, r.ArgBytes[1][2]);
    if (!e.CompilaComando()) {
        rec.EncodedFlag = wasEncoded;
        return false;
    }
    row = e.row;
    return true;
}

bool rebuildRung(AppContext& ctx, int16_t section, int16_t rung) {
    RungRow row;
    return rebuildRungWithRow(ctx, section, rung, row);
}
