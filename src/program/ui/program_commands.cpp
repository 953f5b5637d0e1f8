#include "program/ui/program_commands.h"

#include <algorithm>

#include <QMdiArea>
#include <QMdiSubWindow>

#include "core/language_switch.h"
#include "fbeditor/editor.h"
#include "fbeditor/ui/comandi.h"
#include "platform/window_fit.h"
#include "program/ui/program_window.h"

namespace {

constexpr uint32_t NotEncodedColour = 0x00C0C0FF; // light red, 0x00BBGGRR

} // namespace

ProgramCommands::ProgramCommands(AppContext& ctx)
    : view(ctx), editing{view, {}}, life{view, {}, {}, {}, {}, {}}, ctx_(ctx) {
    view.onLoadedChanged = [this](bool loaded) { loadedChanged(loaded); };
    view.onChanged = [this] {
        if (window_) window_->sync();
    };
    view.ApriRung = [this](int16_t p) { ApriRung(editing, p); };
    view.NuovoProgramma = [this] { return NuovoProgramma(); };
    life.unloadEditor = [this] { unloadEditor(); };
    setEditor({});
}

ProgramCommands::~ProgramCommands() {
    view.onChanged = nullptr;
    view.onLoadedChanged = nullptr;
    delete frame_;
    if (editor_) {
        QWidget* editorFrame = subWindowOf(editor_.data());
        delete (editorFrame ? editorFrame : editor_.data());
    }
}

void ProgramCommands::setEditor(EditorLink link) {
    editing.editor = std::move(link);
    std::function<bool()> add = editing.editor.add;
    if (!add) add = [this] { return restoreWithoutEditor(); };
    // The restore re-encodes the rung it puts back, as the load does; one the editor refuses is back all
    // the same, not encoded, and its row says so.
    editing.editor.add = [this, add] {
        if (add()) return true;
        const ProgramStore& store = ctx_.project.Program;
        showNotEncoded(store.CurrentSection, store.CurrentRung);
        ctx_.project.ProjectModified = -1;
        return false;
    };
}

bool ProgramCommands::restoreWithoutEditor() {
    ProgramStore& store = ctx_.project.Program;
    RungRow row;
    if (!rebuildRungWithRow(ctx_, store.CurrentSection, store.CurrentRung, row)) return false;
    rowWritten(store.CurrentSection, store.CurrentRung, row, false);
    if (refreshRegisters) refreshRegisters();
    ctx_.project.ProjectModified = -1;
    return true;
}

void ProgramCommands::rowWritten(int16_t section, int16_t rung, const RungRow& row, bool withDescription) {
    view.showRung(section, rung, row, withDescription);
}

void ProgramCommands::useEditorWindow() {
    setEditor({[this](int16_t p) {
                   editorWindow()->ApriRung(ctx_.project.Program.CurrentSection, p);
                   keepRungInSight(p);
               },
               [this] { return editorWindow()->cmd_AddFunc_Click(); }});
}

void ProgramCommands::keepRungInSight(int16_t rung) {
    QMdiSubWindow* editorFrame = editor_ ? subWindowOf(editor_.data()) : nullptr;
    auto* programFrame = qobject_cast<QMdiSubWindow*>(frame_.data());
    if (!host_ || !window_ || !editorFrame || !programFrame || programFrame->isMaximized()) return;
    QWidget* area = host_->viewport();
    auto rowShown = [&] {
        const QRect row = window_->rowRect(rung);
        return row.isEmpty() ? row : QRect(window_->mapTo(area, row.topLeft()), row.size());
    };
    QRect shown = rowShown();
    QRect g = editorFrame->geometry();
    if (shown.isEmpty() || !g.intersects(shown)) return;
    // Beside the program view where there is room, else below the row, else above it; with room for
    // neither, the rung is scrolled to the top of the view (the scroll bar shows then, also where every
    // rung fitted, so the rungs above stay reachable) and the editor goes below it.
    if (programFrame->geometry().right() + g.width() < area->width()) {
        g.moveLeft(programFrame->geometry().right() + 1);
    } else if (shown.bottom() + g.height() < area->height()) {
        g.moveTop(shown.bottom() + 1);
    } else if (shown.top() - g.height() >= 0) {
        g.moveBottom(shown.top() - 1);
    } else {
        view.setScroll(rung - 1);
        if (shown = rowShown(); !shown.isEmpty())
            g.moveTop(std::min(shown.bottom() + 1, area->height() - g.height()));
    }
    editorFrame->move(g.topLeft());
}

comandi* ProgramCommands::editorWindow() {
    if (editor_) return editor_;
    editor_ = new comandi(ctx_);
    editor_->rungEncoded = [this](int16_t section, int16_t rung, const RungRow& row) {
        rowWritten(section, rung, row, false);
        if (refreshRegisters) refreshRegisters();
    };
    if (host_) addFittedSubWindow(host_, editor_);
    if (languages_) {
        comandi* e = editor_;
        languages_->windowLoaded(e, [e] { e->SetRes(); });
        QObject::connect(e, &QObject::destroyed, [this, e] {
            if (languages_) languages_->windowUnloaded(e);
        });
    }
    return editor_;
}

void ProgramCommands::unloadEditor() {
    if (editor_) editor_->Form_Unload();
}

bool ProgramCommands::rebuildLoadedRung(int16_t section, int16_t rung) {
    if (section < 0 || section >= SectionCount || rung < 1 || rung > MaxRungs) return false;
    const CommandRecord& rec =
        ctx_.project.Program.Sections[static_cast<size_t>(section)].Rungs[static_cast<size_t>(rung)];
    RungRow row;
    const bool ok = rebuildRungWithRow(ctx_, section, rung, row);
    if (!ok) {
        showNotEncoded(section, rung);
        return false;
    }
    if (rec.FunctionType == 0) row = ViewRow::empty().Content;
    row.Description = rec.Description;
    rowWritten(section, rung, row, true);
    return true;
}

void ProgramCommands::showNotEncoded(int16_t section, int16_t rung) {
    if (section < 0 || section >= SectionCount || rung < 1 || rung > MaxRungs) return;
    CommandRecord& rec =
        ctx_.project.Program.Sections[static_cast<size_t>(section)].Rungs[static_cast<size_t>(rung)];
    RungRow row = ViewRow::empty().Content;
    if (rec.FunctionType != 0) {
        // Encoded bytes that the editor no longer produces from the rung's texts are not sent: the compile
        // refuses the rung until it is corrected and added again.
        rec.EncodedFlag = 0;
        // The rung keeps its label and says, in both formats, that the compile will refuse it.
        const uint8_t k = FunzToOpt(rec.FunctionType, rec.Opcode, rec.SubOp);
        const std::string function = k < FunctionNameCount ? ctx_.shell.FunctionNames[k] : std::string();
        row.FunctionName = "Not encoded";
        row.PictureVisible = true;
        row.Colour = NotEncodedColour;
        row.Label = rec.Label;
        row.Summary = function + ": open the rung, correct it and add it again";
    }
    row.Description = rec.Description;
    rowWritten(section, rung, row, true);
}

void ProgramCommands::loadedChanged(bool loaded) {
    if (languages_) {
        if (loaded)
            languages_->windowLoaded(&view, [this] { view.SetRes(); });
        else
            languages_->windowUnloaded(&view);
    }
    if (!loaded) {
        if (frame_) frame_->deleteLater();
        frame_ = nullptr;
        window_ = nullptr;
        return;
    }
    if (!window_) createWindow();
    frame_->show();
}

void ProgramCommands::createWindow() {
    window_ = new ProgramWindow(view);
    if (host_) {
        // The layout stops at the main window's height.
        view.MainHeight = host_->window()->height() * 1440 / std::max(1, window_->logicalDpiY());
        QMdiSubWindow* sub = addFittedSubWindow(host_, window_);
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        // Below the log window where there is room for the rows, else as high as the area lets it be.
        fitSubWindow(sub, window_->sizeHint().expandedTo({0, host_->viewport()->height()}));
        frame_ = sub;
    } else {
        frame_ = window_;
    }
}

void ProgramCommands::showProgram() {
    showProgramFrom(ctx_.project.Program.CurrentRung - 1);
}

void ProgramCommands::showProgramFrom(int first) {
    if (!view.Caricato) view.load();
    if (frame_) {
        frame_->show();
        frame_->raise();
        if (host_) host_->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(frame_.data()));
    }
    // The scroll bar shows where the rows were laid out from.
    view.setScroll(first);
}

ProgramWindow* ProgramCommands::window() const {
    return window_;
}

ProgramCommands::Commands ProgramCommands::toolbarCommands() {
    RungEditing& e = editing;
    auto current = [this] { return ctx_.project.Program.CurrentRung; };
    return {
        {"rung_mod", [&e, current] { ApriRung(e, current()); }},
        {"rung_del", [&e] { DeleteCommand(e); }},
        {"rung_add_before", [&e] { InsertBeforeCommand(e); }},
        {"rung_add_after", [&e] { InsertAfterCommand(e); }},
        {"rung_move_up", [&e] { MoveUpCommand(e); }},
        {"rung_move_down", [&e] { MoveDownCommand(e); }},
        {"rung_copy", [&e, current] { CopiaRung(e, current()); }},
        {"rung_paste", [&e] { PasteCommand(e); }},
        {"rung_redo", [&e] { RipristinaRung(e); }},
        {"new_sub", [&e] { NewSubCommand(e); }},
        {"rung_break", [&e] { ToggleBreakpoint(e); }},
    };
}

ProgramCommands::Commands ProgramCommands::menuCommands() {
    // The items of mnu_FB do what the toolbar key of the same command does.
    static constexpr std::pair<const char*, const char*> SameAsKey[] = {
        {"mnu_FB_copy", "rung_copy"},
        {"mnu_FB_paste", "rung_paste"},
        {"mnu_modify", "rung_mod"},
        {"mnu_FB_Delete", "rung_del"},
        {"mnu_FB_Insert_Before", "rung_add_before"},
        {"mnu_FB_Insert_After", "rung_add_after"},
        {"mnu_FB_Break", "rung_break"},
    };
    const Commands keys = toolbarCommands();
    Commands items;
    for (const auto& [item, key] : SameAsKey)
        for (const auto& [k, command] : keys)
            if (k == key) items.emplace_back(item, command);
    items.emplace_back("mnu_program", [this] { showProgram(); });
    return items;
}
