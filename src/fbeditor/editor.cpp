#include "fbeditor/editor.h"

#include "app/build_flags.h"
#include "fbeditor/families.h"
#include "fbeditor/number_text.h"

namespace {

// The names of the defined lookup tables, item data = the table's index; the list is emptied first.
void listTables(ComboBox& list, const LookupTableArray& tables) {
    list.Items.clear();
    list.Selected = -1;
    for (int n = 0; n < tables.Count && n < MaxLookupTables; ++n)
        list.add(tables.Tables[static_cast<size_t>(n)].Name, n);
}

} // namespace

Editor::Editor(AppContext& ctx) : ctx_(ctx) {}

const std::string& Editor::uiText(int k) const {
    static const std::string none;
    return k >= 0 && k < UiTextCount ? ctx_.shell.UiText[static_cast<size_t>(k)] : none;
}

const std::string& Editor::typeName(int k) const {
    return ctx_.shell.ValueTypeNames[static_cast<size_t>(k)];
}

CommandRecord& Editor::stored() {
    return ctx_.project.Program.Sections[static_cast<size_t>(section_)].Rungs[static_cast<size_t>(rung_)];
}

bool Editor::bind(int16_t section, int16_t rung) {
    if (section < 0 || section >= SectionCount || rung < 0 || rung > MaxRungs) return false;
    section_ = section;
    rung_ = rung;
    work_ = stored();
    ++setups_;
    return true;
}

void Editor::setRes() {
    state.Caption = uiText(60);
    state.FunctionsFrame = uiText(61);
    state.OptionsFrame = uiText(62);
}

void Editor::load() {
    setRes();
    Caricato = true;
    const ProgramStore& p = ctx_.project.Program;
    if (!bind(p.CurrentSection, p.CurrentRung)) bind(0, 0);
    for (int k = 0; k < CatalogueSize; ++k) {
        FunctionOption& o = state.Options[static_cast<size_t>(k)];
        o.Caption = k < FunctionNameCount ? ctx_.shell.FunctionNames[static_cast<size_t>(k)] : std::string();
        o.Colour = catalogueEntry(k).Colour;
        o.Visible = false;
    }
    state.SelectedTab = 1;
    layoutTab();
}

void Editor::tabClick(int tab) {
    if (tab < 1 || tab > TabCount) return;
    state.SelectedTab = tab;
    layoutTab();
}

void Editor::layoutTab() {
    for (FunctionOption& o : state.Options)
        o.Visible = false;
    auto caption = TabCaptions[static_cast<size_t>(state.SelectedTab - 1)];
    for (const Placement& p : tabPlacements(caption)) {
        if (!gateOpen(p.When, model().ModelCode, BuildBrand3, BuildInternal)) continue;
        FunctionOption& o = state.Options[p.Index];
        o.Row = p.Row;
        o.Column = p.Column;
        o.Visible = true;
    }
}

void Editor::chooseFunction(int k) {
    if (k < 0 || k >= CatalogueSize) return;
    FunzioneCorrente = static_cast<int16_t>(k);
    state.ChosenOption = k;
    setupFunction(k);
}

void Editor::resetRows() {
    for (int i = 0; i < ArgumentRowCount; ++i) {
        ArgumentRow& r = state.Rows[static_cast<size_t>(i)];
        r.CaptionVisible = false;
        r.Value.clear();
        r.Value.Visible = false;
        r.Value.Locked = false;
        r.Type.clear();
        r.Type.Visible = false;
        r.SetVisible = false;
        r.SwapVisible = false;
        r.TargetRow = false;
        Args[static_cast<size_t>(i)] = ArgumentDescriptor{};
    }
}

void Editor::readTrigger() {
    const CommandRecord& r = work_;
    if (r.EncodedFlag != -1) return; // a rung never encoded keeps what the boxes showed
    state.TriggerChecked = r.TriggerFlag != 0;
    if (!state.TriggerChecked) return;
    state.TriggerRegister.setText(std::to_string(static_cast<int16_t>(r.TriggerRegister)));
    state.TriggerMask.setText(std::to_string(static_cast<int16_t>(r.TriggerMask)));
}

void Editor::setupFunction(int k) {
    if (k < 0 || k >= CatalogueSize) return;
    // Set-ups write the working copy only: the stored rung changes when an encoding succeeds.
    work_ = stored();
    ++setups_;
    tabClick(catalogueEntry(k).Tab);
    resetRows();
    state.DelayVisible = false;
    state.Title = state.Options[static_cast<size_t>(k)].Caption;
    state.DelayCaption = uiText(68);
    state.TriggerVisible = model().HasTrigger != 0;
    readTrigger();
    if (SetupFn f = setupFor(k)) f(*this, k);
}

void Editor::ShowArg(int i) {
    if (!isArgumentRow(i)) return;
    ArgCorrente = static_cast<uint8_t>(i);
    ArgumentDescriptor& d = Args[static_cast<size_t>(i)];
    ArgumentRow& row = state.Rows[static_cast<size_t>(i)];
    if (d.Label.empty()) {
        row.CaptionVisible = row.Value.Visible = row.Type.Visible = false;
        return;
    }
    row.Type.clear();
    for (int k = 0; k < EditorValueTypeCount; ++k) {
        if (!d.AllowedValueTypes[static_cast<size_t>(k)]) continue;
        row.Type.add(typeName(k), k);
        if (k == KindTable) {
            d.Kind = KindTable;
            // Emptied first, so that showing the row again does not list the tables twice.
            listTables(row.Value, ctx_.project.Tables);
        }
    }
    for (int k = 0; k < PointerKindBase; ++k)
        if (d.AllowedPointerTypes[static_cast<size_t>(k)])
            row.Type.add(std::string(PointerPrefix) + typeName(k), PointerKindBase + k);
    row.Caption = d.Label;
    int match = -1;
    for (size_t j = 0; j < row.Type.Items.size(); ++j)
        if (row.Type.Items[j].Data == d.Kind) match = static_cast<int>(j);
    if (match >= 0) typeClick(i, match);
    switch (d.Kind) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 4:
    case 7:
    case 8:
    case 9:
    case 11:
    case 12:
        row.Value.setText(d.IsRegister ? "%R" + numberText(d.Value) : numberText(d.Value));
        break;
    case KindKFlt:
    case KindKLong:
        row.Value.setText(numberText(d.Value));
        break;
    case KindTable:
        row.Value.select(0);
        break;
    default:
        break;
    }
    row.CaptionVisible = row.Value.Visible = row.Type.Visible = true;
}

void Editor::typeClick(int i, int entry) {
    if (!isArgumentRow(i)) return;
    ArgumentRow& row = state.Rows[static_cast<size_t>(i)];
    if (!row.Type.select(entry)) return;
    ArgCorrente = static_cast<uint8_t>(i); // the type box has the focus
    uint8_t kind = static_cast<uint8_t>(row.Type.selectedData());
    Args[static_cast<size_t>(i)].Kind = kind;
    // A K_Long constant is entered only through the value picker.
    row.SetVisible = kind == KindKLong;
    row.Value.Locked = kind == KindKLong;
}

void Editor::setRowText(int i, const std::string& text) {
    if (!isArgumentRow(i)) return;
    state.Rows[static_cast<size_t>(i)].Value.setText(text);
}

void Editor::rowClick(int i) {
    if (i == 0) deviceRowClick(*this);
}

void Editor::ElencoEtichette(int i) {
    if (!isArgumentRow(i)) return;
    ComboBox& list = state.Rows[static_cast<size_t>(i)].Value;
    const ProgramSection& s = ctx_.project.Program.Sections[static_cast<size_t>(section_)];
    for (int r = 1; r <= s.RungCount && r <= MaxRungs; ++r) {
        const std::string& label = s.Rungs[static_cast<size_t>(r)].Label;
        if (!label.empty()) list.add(label, r);
    }
    list.select(0);
}

PickerRequest Editor::setClick(int i) const {
    if (!isArgumentRow(i)) return {};
    const ArgumentRow& row = state.Rows[static_cast<size_t>(i)];
    switch (Args[static_cast<size_t>(i)].Kind) {
    case KindKLong:
        return {PickerRequest::Value, row.Value.Text, -1};
    case KindTable:
        return {PickerRequest::Table, {}, row.Value.Selected};
    default:
        return {};
    }
}

void Editor::valuePicked(int i, const std::string& text) {
    setRowText(i, text);
}

void Editor::tablePicked(int i, int position) {
    if (!isArgumentRow(i)) return;
    ComboBox& list = state.Rows[static_cast<size_t>(i)].Value;
    listTables(list, ctx_.project.Tables);
    list.select(position);
}

void Editor::registerClicked(int reg, uint8_t valueType) {
    if (!Caricato || !isArgumentRow(ArgCorrente)) return;
    ArgumentDescriptor& d = Args[ArgCorrente];
    if (!d.IsRegister) return;
    d.Value = reg;
    d.Kind = valueType;
    ShowArg(ArgCorrente);
}
