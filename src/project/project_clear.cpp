#include "project/project_clear.h"

#include "program/view/rung_editing.h"
#include "project/project_save.h"

bool clearProjectForLoad(AppContext& ctx, ProjectLifecycle* life) {
    ProgramView ownView(ctx);
    ProjectLifecycle own{ownView, [&ctx](bool askName) { return SalvaProgetto(ctx, askName); }, {}, {}, {},
                         {}};
    ProjectLifecycle& l = life ? *life : own;
    Project& p = ctx.project;
    const int16_t shown = p.Program.CurrentSection;
    p.Program.CurrentSection = 0;
    if (!NuovoProgramma(l)) {
        p.Program.CurrentSection = shown;
        return false;
    }
    NuovoProgetto(l);
    RungEditing editing{l.view, {}};
    CancellaRung(editing, 1);
    p.ProjectModified = 0;
    return true;
}
