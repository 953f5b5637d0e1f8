#pragma once
// Loading a project's file set.
#include <functional>

#include "core/app_context.h"
#include "fbeditor/editor.h"
#include "program/table_pages.h"
#include "program/view/project_lifecycle.h"

// What the load asks of the editor and of the compiler; tests replace them.
struct ProjectLoadHooks {
    // Encodes the stored rung afresh from its texts through the function-block editor; false when the
    // rung could not be encoded.
    std::function<bool(AppContext&, int16_t section, int16_t rung)> rebuildRung =
        [](AppContext& ctx, int16_t section, int16_t rung) { return ::rebuildRung(ctx, section, rung); };
    // Gives the lookup tables their controller memory pages.
    std::function<void(LookupTableArray&)> allocateTables = AllocaTabelle;
    // The program view and windows that closing and starting a project work on; none without windows.
    ProjectLifecycle* lifecycle = nullptr;
};

// Asks for a ".prj" file and loads its set into a cleared project. Problems (unreadable or missing files,
// items that do not convert, counts beyond the arrays, rungs that could not be re-encoded) are logged and
// summed up in one message. Returns false when the dialog or the save question was cancelled, the old
// project's save did not happen, or the version question was refused.
bool CaricaProgetto(AppContext& ctx, const ProjectLoadHooks& hooks = {});
