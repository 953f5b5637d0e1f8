// The project data's menu items: the variables and the tables windows.
#include <gtest/gtest.h>

#include <QAction>
#include <QListWidget>

#include "fbeditor/ui/input_tab.h"
#include "project/ui/frm_variabili.h"
#include "window_fixture.h"

TEST(ProjectMenus, VariablesOpenOnceAndFollowTheLanguage) {
    WindowFixture f;
    f.recordAndLoadTexts(true);
    f.start();
    ASSERT_TRUE(f.window->menuItem("mnu_Format")->isEnabled());
    f.window->menuItem("mnu_Format")->trigger();
    auto* w = f.window->findChild<frm_variabili*>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->windowTitle(), "Variables");
    f.window->menuItem("mnu_Format")->trigger();
    EXPECT_EQ(f.window->findChildren<frm_variabili*>().size(), 1); // a single instance
    f.window->languages().CambiaLingua(0);
    EXPECT_EQ(w->windowTitle().toStdString(), f.shell.UiText[156]);
    w->close(); // the closed window leaves; the menu makes a new one
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.window->findChildren<frm_variabili*>().isEmpty());
    EXPECT_NE(f.window->showVariables(), nullptr);
}

TEST(ProjectMenus, TablesOpenOnceOverTheProjectTables) {
    WindowFixture f;
    f.recordAndLoadTexts(true);
    f.project.Tables.Count = 1;
    f.project.Tables.Tables[0].Name = "T1";
    f.start();
    ASSERT_TRUE(f.window->menuItem("mnu_Tables")->isEnabled());
    f.window->menuItem("mnu_Tables")->trigger();
    auto* w = f.window->findChild<Input_Tab*>();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->list()->count(), 1);
    f.window->menuItem("mnu_Tables")->trigger();
    EXPECT_EQ(f.window->findChildren<Input_Tab*>().size(), 1);
    w->cmd_ok_Click(0); // cancel closes it; the next use makes a new one
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.window->findChildren<Input_Tab*>().isEmpty());
    EXPECT_NE(f.window->showTables(), nullptr);
}
