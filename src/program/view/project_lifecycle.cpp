#include "program/view/project_lifecycle.h"

#include <algorithm>

#include "core/button_groups.h"
#include "core/close_question.h"
#include "core/text_tables.h"
#include "comm/register_map.h"
#include "program/program_store_ops.h"

namespace {

constexpr int ProgramNameKey = 1;
constexpr int32_t DefaultVariableRegister = 100;

void setProgramKeys(AppContext& ctx, bool enable) {
    AbilitaPulsanti(ctx, "Puls_FunctionBlock", enable);
    AbilitaPulsanti(ctx, "Puls_Compila", enable);
}

void defaultVariables(VariableTable& vars, const ModelRecord& model) {
    // The count is one byte: a model may not ask for more variables than it can hold.
    const int count = std::clamp<int>(model.MaxVariables, 0, 255);
    for (int i = 0; i < count; ++i) {
        VariableRecord& v = vars.Variables[static_cast<size_t>(i)];
        v.Register = DefaultVariableRegister;
        v.ValueType = 0;
        v.Format = "%+5.0f";
        v.Name = "Var" + std::to_string(i);
        v.CsvName = v.Name;
    }
    vars.Count = static_cast<uint8_t>(count);
}

std::string mainCaption(const AppContext& ctx) {
    const ShellState& s = ctx.shell;
    return s.BrandOffset / 50 < BrandTexts.size() ? BrandTexts[s.BrandOffset / 50][ProgramNameKey] : "Melqo";
}

// The sections past the main program (subroutines, compiled pages) and the data no file of the set may
// bring back when it is missing.
void clearRestOfProject(Project& p) {
    ProgramStore& store = p.Program;
    for (int s = 1; s < SectionCount; ++s)
        store.Sections[static_cast<size_t>(s)] = ProgramSection{};
    store.SubroutineCount = 0;
    p.Tables = LookupTableArray{};
    p.Blocks.fill({});
    p.Images = ImageTable{};
    p.Watch[0] = 0;
    p.DamagedFiles.clear();
    p.Compiler = CompilerState{}; // the debugger's rung map belonged to the old program
}

} // namespace

bool NuovoProgramma(ProjectLifecycle& life) {
    AppContext& ctx = life.view.context();
    Project& p = ctx.project;
    if (!OfferToSave(ctx, life.SalvaProgetto, mainCaption(ctx))) return false;
    // The editor writes into the rung it was opened on: it must not outlive the program it belongs to.
    if (life.unloadEditor) life.unloadEditor();
    p.ProjectModified = 0;
    ClearCurrentSection(p.Program);
    if (life.view.Caricato) life.view.trimRows(0);
    p.Tasks.Count = 0;
    life.view.unload();
    if (life.closeEditors) life.closeEditors();
    setProgramKeys(ctx, false);
    return true;
}

void NuovoProgetto(ProjectLifecycle& life) {
    AppContext& ctx = life.view.context();
    Project& p = ctx.project;
    ProgramStore& store = p.Program;
    p.ProjectPath = "Project";
    // The fresh view shows only "Main": the new project's rung goes there, not into a subroutine
    // section that was shown when the program was closed.
    if (!life.view.Caricato) store.CurrentSection = 0;
    clearRestOfProject(p);
    store.CurrentRungCount = 0;
    store.current().RungCount = 0;
    p.Pages.Count = 1;
    p.Pages.Pages[0].ObjectCount = 0;
    const ModelRecord& model = ctx.model();
    defaultVariables(p.Variables, model);
    MappaRegistri(ctx, true);
    if (life.redrawRegisters) life.redrawRegisters();
    const int strings = std::clamp<int>(model.MaxStrings, 0, static_cast<int>(p.Strings.size()));
    for (int i = 0; i < strings; ++i)
        p.Strings[static_cast<size_t>(i)].Text.clear();
    if (!life.view.Caricato) life.view.load();
    life.view.trimRows(0);
    life.view.RidisegnaRung();
    store.CurrentRung = store.current().RungCount;
    life.view.SelezionaRung(store.CurrentRung);
    if (life.arrangeWindows) life.arrangeWindows();
    setProgramKeys(ctx, true);
    p.ProjectModified = 0;
}
