#include "program/view/rung_editing.h"

#include "program/program_store_ops.h"

namespace {

constexpr int MaxSubroutines = SectionCount - 1;
constexpr const char* SectionFullText = "A program section holds at most 256 rungs.";
constexpr const char* SubroutinesFullText = "A program holds at most 4 subroutines.";

void setKey(RungEditing& e, const char* key, bool enable) {
    ToolbarState& t = e.ctx().shell.Toolbar;
    t.setEnabled(key, enable);
    t.changed();
}

bool isRung(RungEditing& e, int p) {
    return p >= 1 && p <= e.store().current().RungCount;
}

CommandRecord& record(RungEditing& e, int slot) {
    return e.store().current().Rungs[static_cast<size_t>(slot)];
}

// The record fields every copy carries; argument slot 8 is never touched. The description goes through
// the row's description box where the row takes part.
void copyFields(const CommandRecord& from, CommandRecord& to, bool withDescription) {
    if (withDescription) to.Description = from.Description;
    to.FunctionType = from.FunctionType;
    to.Opcode = from.Opcode;
    to.SubOp = from.SubOp;
    to.Label = from.Label;
    to.Delay = from.Delay;
    to.BreakFlag = from.BreakFlag;
    to.EncodedFlag = from.EncodedFlag;
    to.DataSize = from.DataSize;
    to.TriggerFlag = from.TriggerFlag;
    to.TriggerMask = from.TriggerMask;
    to.TriggerRegister = from.TriggerRegister;
    for (size_t k = 0; k < 8; ++k) {
        to.ArgTexts[k] = from.ArgTexts[k];
        to.ArgBytes[k] = from.ArgBytes[k];
    }
}

void showScratchRow(RungEditing& e, bool shown) {
    if (ViewRow* r = e.view.row(0)) r->Shown = shown;
}

// Insert-before and insert-after after the append: the rung to shift from, or none when the appended
// rung is the selected one. With no valid selection the appended rung becomes the new empty rung.
bool insertAfterAppend(RungEditing& e, int shiftFrom) {
    const int n = e.store().current().RungCount;
    const int cur = e.store().CurrentRung;
    if (cur == n) return true;
    InserisciRung(e, cur >= 1 && cur < n ? shiftFrom : n - 1);
    return true;
}

bool appendRow(RungEditing& e) {
    if (e.view.RidisegnaRung()) return true;
    e.ctx().dialogs.messageBox(SectionFullText, MsgButtons::Ok, MsgIcon::Warning, "Melqo");
    return false;
}

} // namespace

void CopiaRecordRung(RungEditing& e, int s, int d) {
    if (s < 0 || s > MaxRungs || d < 0 || d > MaxRungs) return;
    ViewRow* rs = e.view.row(s);
    ViewRow* rd = e.view.row(d);
    if (rs && rd) {
        const ViewRow src = *rs;
        RungRow& to = rd->Content;
        to.PictureVisible = true;
        to.Picture = src.Content.Picture;
        rd->BreakVisible = src.BreakVisible;
        e.view.descriptionChanged(static_cast<int16_t>(d), src.Content.Description);
        to.ArgValues = src.Content.ArgValues;
        to.ValueVisible = src.Content.ValueVisible;
        to.ArgCaptions = src.Content.ArgCaptions;
        to.CaptionVisible = src.Content.CaptionVisible;
        to.Label = src.Content.Label;
        to.FunctionName = src.Content.FunctionName;
        to.Colour = src.Content.Colour;
        to.Summary = src.Content.Summary;
    } else {
        record(e, d).Description = record(e, s).Description;
    }
    copyFields(record(e, s), record(e, d), false);
    e.view.changed();
}

void CopiaInClipboard(RungEditing& e, int p) {
    RungBuffer& b = e.store().Buffer;
    b.RungNumber = static_cast<int16_t>(p);
    copyFields(record(e, p), b.Record, true);
    setKey(e, "rung_redo", true);
}

void ApriRung(RungEditing& e, int16_t p) {
    if (!isRung(e, p)) return;
    setKey(e, "rung_redo", false);
    e.store().CurrentRung = p;
    if (e.editor.open) e.editor.open(p);
}

void CancellaRung(RungEditing& e, int p) {
    if (!isRung(e, p)) return;
    setKey(e, "rung_redo", false);
    CopiaInClipboard(e, p);
    ProgramStore& store = e.store();
    int16_t& count = store.current().RungCount;
    for (int i = p; i < count; ++i)
        CopiaRecordRung(e, i + 1, i);
    count -= 1;
    store.CurrentRungCount = count;
    e.view.trimRows(count);
    if (store.CurrentRung > count) store.CurrentRung = count;
}

void InserisciRung(RungEditing& e, int p) {
    const int count = e.store().current().RungCount;
    if (p < 0 || p >= count) return;
    setKey(e, "rung_redo", false);
    for (int j = count - 1; j >= p + 1; --j)
        CopiaRecordRung(e, j, j + 1);
    const int at = p + 1;
    clearRung(record(e, at));
    if (ViewRow* r = e.view.row(at)) {
        r->Content = ViewRow::empty().Content;
        r->BreakVisible = false;
        e.view.descriptionChanged(static_cast<int16_t>(at), "<...>");
    }
    e.view.SelezionaRung(static_cast<int16_t>(at));
    e.store().CurrentRung = static_cast<int16_t>(at);
    record(e, at).EncodedFlag = 0;
}

namespace {

// SpostaSu and SpostaGiu: swap rung p with rung q through slot 0, then select q.
void swapThroughScratch(RungEditing& e, int p, int q) {
    setKey(e, "rung_redo", false);
    setKey(e, "rung_paste", false);
    showScratchRow(e, true);
    CopiaRecordRung(e, q, 0);
    CopiaRecordRung(e, p, q);
    CopiaRecordRung(e, 0, p);
    showScratchRow(e, false);
    e.view.SelezionaRung(static_cast<int16_t>(q));
}

} // namespace

void SpostaSu(RungEditing& e, int p) {
    if (p > 1 && isRung(e, p)) swapThroughScratch(e, p, p - 1);
}

void SpostaGiu(RungEditing& e, int p) {
    if (isRung(e, p) && p < e.store().current().RungCount) swapThroughScratch(e, p, p + 1);
}

void CopiaRung(RungEditing& e, int p) {
    if (!isRung(e, p)) return;
    setKey(e, "rung_redo", false);
    showScratchRow(e, true);
    CopiaRecordRung(e, p, 0);
    showScratchRow(e, false);
    setKey(e, "rung_paste", true);
}

void IncollaRung(RungEditing& e, int p) {
    if (!isRung(e, p)) return;
    CopiaInClipboard(e, p);
    showScratchRow(e, true);
    CopiaRecordRung(e, 0, p);
    showScratchRow(e, false);
}

bool RipristinaRung(RungEditing& e) {
    ProgramStore& store = e.store();
    const RungBuffer saved = store.Buffer;
    if (saved.RungNumber < 1) return false;
    setKey(e, "rung_redo", false);
    if (!appendRow(e)) return false;
    // The rung goes back in at its old position, or after the last rung when the section is shorter now;
    // the rungs from there on move down, so no rung is lost.
    const int count = store.current().RungCount;
    const int at = std::min<int>(saved.RungNumber, count);
    InserisciRung(e, at - 1);
    copyFields(saved.Record, record(e, at), true);
    if (ViewRow* r = e.view.row(at)) r->BreakVisible = saved.Record.BreakFlag != 0;
    e.view.descriptionChanged(static_cast<int16_t>(at), saved.Record.Description);
    ApriRung(e, static_cast<int16_t>(at));
    if (e.editor.add) e.editor.add();
    return true;
}

bool NuovaSub(RungEditing& e) {
    ProgramStore& store = e.store();
    if (store.SubroutineCount >= MaxSubroutines) {
        e.ctx().dialogs.messageBox(SubroutinesFullText, MsgButtons::Ok, MsgIcon::Warning, "Melqo");
        return false;
    }
    const int16_t n = ++store.SubroutineCount;
    e.view.addSubroutineTab(n);
    store.CurrentSection = n;
    store.current().RungCount = 0;
    e.view.trimRows(0);
    e.view.RidisegnaRung();
    store.CurrentRung = store.current().RungCount;
    return true;
}

namespace {

// The user's commands change the program: without the mark, closing would drop them without asking.
bool userEdit(RungEditing& e, bool changed) {
    if (changed) e.ctx().project.ProjectModified = -1;
    return changed;
}

} // namespace

void DeleteCommand(RungEditing& e) {
    const int p = e.store().CurrentRung;
    if (!isRung(e, p)) return;
    if (userEdit(e, e.ctx().dialogs.messageBox("Delete Function Block ?", MsgButtons::OkCancel,
                                               MsgIcon::Question) == MsgChoice::Ok))
        CancellaRung(e, p);
}

bool InsertBeforeCommand(RungEditing& e) {
    return userEdit(e, appendRow(e) && insertAfterAppend(e, e.store().CurrentRung - 1));
}

bool InsertAfterCommand(RungEditing& e) {
    return userEdit(e, appendRow(e) && insertAfterAppend(e, e.store().CurrentRung));
}

void MoveUpCommand(RungEditing& e) {
    if (userEdit(e, e.store().CurrentRung > 1)) SpostaSu(e, e.store().CurrentRung);
}

void MoveDownCommand(RungEditing& e) {
    if (userEdit(e, e.store().CurrentRung < e.store().current().RungCount))
        SpostaGiu(e, e.store().CurrentRung);
}

void PasteCommand(RungEditing& e) {
    const int p = e.store().CurrentRung;
    if (userEdit(e, isRung(e, p))) IncollaRung(e, p);
}

void NewSubCommand(RungEditing& e) {
    userEdit(e, NuovaSub(e));
}

void ToggleBreakpoint(RungEditing& e) {
    const int p = e.store().CurrentRung;
    if (!isRung(e, p)) return;
    CommandRecord& r = record(e, p);
    r.BreakFlag = static_cast<int16_t>(~r.BreakFlag); // 0 and -1 swap
    if (ViewRow* row = e.view.row(p)) row->BreakVisible = r.BreakFlag != 0;
    e.ctx().project.ProjectModified = -1;
    e.view.changed();
}
