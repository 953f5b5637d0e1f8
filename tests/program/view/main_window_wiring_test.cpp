#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

#include "app/ui/program_fixture.h"
#include "core/button_groups.h"
#include "fbeditor/ui/comandi.h"
#include "fbeditor/ui/input_tab.h"
#include "platform/window_fit.h"
#include "program/ui/program_commands.h"
#include "program/ui/program_window.h"
#include "project/ui/frm_variabili.h"

namespace {

// The main window with the program's own bindings, as the program starts it.
struct Shell : Program {
    void key(const char* k) { window->Toolbar1_ButtonClick(k); }
    ProgramSection& main() { return project.Program.Sections[0]; }
};

} // namespace

TEST(ProgramWiring, NewProjectOpensTheViewWhoseKeysMenuItemsAndCloseBoxEditTheProgram) {
    Shell s;
    EXPECT_FALSE(s.shell.Toolbar.Unavailable.contains("rung_add_after"));
    s.key("proj_new");
    auto* sub = qobject_cast<QMdiSubWindow*>(s.procs.Program->frame());
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(s.window->mdi()->subWindowList().contains(sub));
    EXPECT_EQ(s.main().RungCount, 1);
    s.key("rung_add_after");
    s.key("rung_add_after");
    EXPECT_EQ(s.project.Program.CurrentRung, 3);
    s.key("rung_break");
    EXPECT_EQ(s.main().Rungs[3].BreakFlag, -1);
    QAction* del = s.window->menuItem("mnu_FB_Delete");
    ASSERT_TRUE(del->isEnabled());
    del->trigger();
    EXPECT_EQ(s.dialogs.shown.back(), "Delete Function Block ?");
    EXPECT_EQ(s.main().RungCount, 2);
    s.key("rung_redo");
    EXPECT_EQ(s.main().RungCount, 3);
    EXPECT_EQ(s.main().Rungs[3].BreakFlag, -1);

    s.dialogs.choices.push_back(MsgChoice::Cancel);
    sub->close();
    EXPECT_EQ(s.main().RungCount, 3);
    EXPECT_NE(s.procs.Program->window(), nullptr);
    s.dialogs.choices = {MsgChoice::Ok, MsgChoice::No}; // close, discarding the changes
    sub->close();
    EXPECT_EQ(s.dialogs.shown.end()[-2], "Close Project?");
    EXPECT_EQ(s.dialogs.boxes.end()[-2].title, "Melqo");
    EXPECT_EQ(s.main().RungCount, 0);
    EXPECT_EQ(s.procs.Program->window(), nullptr);
    EXPECT_TRUE(s.procs.Program->view.section(0).Rows.empty()); // the unloaded view keeps no rows
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    s.key("proj_new");
    EXPECT_NE(s.procs.Program->window(), nullptr);
    s.dialogs.choices.push_back(MsgChoice::No);
    s.window->menuItem("mnu_close")->trigger();
    EXPECT_EQ(s.procs.Program->window(), nullptr);
}

TEST(ProgramWiring, ASaveThatDidNotHappenKeepsTheProgramWhateverClosesIt) {
    const struct {
        const char* how;
        MsgChoice answer; // to the save question; Yes meets a cancelled file dialog
    } cases[] = {
        {"mnu_new", MsgChoice::Yes},      {"proj_new", MsgChoice::Cancel}, {"mnu_openProj", MsgChoice::Yes},
        {"proj_open", MsgChoice::Cancel}, {"mnu_close", MsgChoice::Yes},   {"close box", MsgChoice::Cancel},
        {"close box", MsgChoice::Yes},    {"mnu_exit", MsgChoice::Cancel}, {"mnu_exit", MsgChoice::Yes},
    };
    for (const auto& c : cases) {
        Shell s;
        s.key("proj_new");
        s.key("rung_add_after");
        s.key("rung_add_after");
        s.project.ProjectModified = -1;
        const std::string how = c.how;
        // Opening asks for the file first; every save dialog is cancelled.
        if (how.ends_with("open") || how.ends_with("openProj"))
            s.dialogs.files = {s.folder.filePath("other.prj").toStdString()};
        s.dialogs.choices = {c.answer};
        if (how == "close box") {
            s.dialogs.choices.push_front(MsgChoice::Ok); // "Close Project?"
            EXPECT_FALSE(s.procs.Program->frame()->close());
        } else if (how == "mnu_exit") {
            EXPECT_FALSE(s.window->close()); // what the menu item does
        } else if (how.starts_with("proj_")) {
            s.key(c.how);
        } else {
            s.window->menuItem(c.how)->trigger();
        }
        EXPECT_EQ(s.main().RungCount, 3) << how;
        EXPECT_EQ(s.project.ProjectModified, -1) << how;
        EXPECT_NE(s.procs.Program->window(), nullptr) << how;
        EXPECT_EQ(s.dialogs.boxes.back().buttons, MsgButtons::YesNoCancel) << how;
    }
}

TEST(ProgramWiring, EditorAddDrawsTheRowAndAnEditorLeftOpenNeverWritesIntoLoadedRungs) {
    Shell s;
    s.key("proj_new");
    s.key("rung_add_after");
    s.key("rung_mod");
    comandi* editor = s.procs.Program->editorWindow();
    EXPECT_TRUE(s.window->mdi()->subWindowList().contains(subWindowOf(editor)));
    editor->opt_Funzione_Click(0);
    editor->cmd_AddFunc_Click(); // Add encodes the rung and redraws its row
    EXPECT_EQ(s.main().Rungs[2].EncodedFlag, -1);
    EXPECT_NE(s.main().Rungs[2].FunctionType, 0);
    ProgramView& view = s.procs.Program->view;
    EXPECT_TRUE(view.row(2)->Content.PictureVisible);
    EXPECT_FALSE(view.row(2)->Content.FunctionName.empty());
    EXPECT_EQ(view.row(2)->Content.Description, "<...>");
    EXPECT_EQ(s.project.ProjectModified, -1);
    s.window->languages().CambiaLingua(0); // the view and the editor follow the language
    EXPECT_EQ(s.procs.Program->window()->windowTitle(), "Programma");
    EXPECT_EQ(editor->windowTitle(), "Funzioni");
    s.window->languages().CambiaLingua(1);
    EXPECT_EQ(s.procs.Program->window()->windowTitle(), "Program");
    view.descriptionChanged(1, "first");
    view.descriptionChanged(2, "second");
    const std::string file = s.folder.filePath("plant.prj").toStdString();
    s.dialogs.files.push_back(file);
    ASSERT_TRUE(s.procs.SalvaProgetto(true));

    s.key("rung_mod"); // the editor stays open on rung 2 with another function chosen
    QPointer<comandi> left = s.procs.Program->editorWindow();
    left->opt_Funzione_Click(4);
    s.window->showVariables();
    s.window->showTables();
    s.dialogs.files.push_back(file);
    s.procs.CaricaProgetto();
    ASSERT_EQ(s.main().RungCount, 2);
    ASSERT_EQ(view.rows().Rows.size(), 3u);
    EXPECT_EQ(view.row(1)->Content.Description, "first");
    EXPECT_EQ(view.row(2)->Content.Description, "second");
    EXPECT_EQ(s.project.Program.CurrentRung, 2);
    const CommandRecord loaded = s.main().Rungs[2];
    ASSERT_NE(loaded.FunctionType, 0);
    ASSERT_TRUE(left);
    left->cmd_AddFunc_Click(); // OK on the old window, should it still be there
    EXPECT_EQ(s.main().Rungs[2], loaded);
    EXPECT_EQ(s.project.ProjectModified, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(!left || left->isHidden());
    EXPECT_TRUE(s.window->findChildren<frm_variabili*>().isEmpty());
    EXPECT_TRUE(s.window->findChildren<Input_Tab*>().isEmpty());
}
