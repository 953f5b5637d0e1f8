#include "project/project_clear.h"

#include "program/view/rung_editing.h"
#include "project/project_save.h"

void clearProjectForLoad(AppContext& ctx, ProjectLifecycle* life) {
    ProgramView ownView(ctx);
    ProjectLifecycle own{ownView, [&ctx](bool askName) { return SalvaProgetto(ctx, askName); }, {}, {}};
    ProjectLifecycle& l = life ? *life : own;
    Project& p = ctx.project;
    p.Program.CurrentSection = 0;
    NuovoProgramma(l);
    NuovoProgetto(l);
    RungEditing editing{l.view, {}};
    CancellaRung(editing, 1);
    // Tables, blocks and the watch list too, so that a side file missing from the loaded set never
    // leaves the previous project's data in the new one.
    p.Tables.Count = 0;
    p.Blocks.fill({});
    p.Watch[0] = 0;
    p.ProjectModified = 0;
}
