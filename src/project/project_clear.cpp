#include "project/project_clear.h"

#include <algorithm>

#include "program/program_store_ops.h"
#include "project/project_save.h"
#include "project/project_texts.h"

namespace {

constexpr int32_t DefaultVariableRegister = 100;

void askToSave(AppContext& ctx) {
    if (ctx.project.ProjectModified != -1) return;
    const std::string& text = ctx.shell.UiText[172];
    if (ctx.dialogs.messageBox(text.empty() ? SaveChangesText : text, MsgButtons::YesNo, MsgIcon::Question,
                               ctx.project.ProjectPath) == MsgChoice::Yes)
        SalvaProgetto(ctx, true);
}

void defaultVariables(VariableTable& vars, const ModelRecord& model) {
    int count = std::min<int>(model.MaxVariables, 255);
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

} // namespace

void clearProjectForLoad(AppContext& ctx) {
    askToSave(ctx);
    Project& p = ctx.project;
    p.Program.CurrentSection = 0;
    ClearCurrentSection(p.Program);
    p.Tasks.Count = 0;

    p.ProjectPath = "Project";
    p.Pages.Count = 1;
    p.Pages.Pages[0].ObjectCount = 0;
    const ModelRecord& model = ctx.model();
    defaultVariables(p.Variables, model);
    int strings = std::min<int>(model.MaxStrings, std::tuple_size_v<StringTable>);
    for (int i = 0; i < strings; ++i)
        p.Strings[static_cast<size_t>(i)].Text.clear();
    // Tables, blocks and the watch list too, so that a side file missing from the loaded set never
    // leaves the previous project's data in the new one.
    p.Tables.Count = 0;
    p.Blocks.fill({});
    p.Watch[0] = 0;
    p.ProjectModified = 0;
}
