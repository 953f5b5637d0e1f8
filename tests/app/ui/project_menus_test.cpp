// The project data's menu items: the variables window and the print command.
#include <gtest/gtest.h>

#include <QAction>

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

TEST(ProjectMenus, PrintIsBoundButShownOnlyInInternalBuilds) {
    WindowFixture f;
    f.start();
    EXPECT_FALSE(f.window->menuItem("mnu_print")->isVisible());
    f.window->ShowInternalMenus(true);
    EXPECT_TRUE(f.window->menuItem("mnu_print")->isEnabled());
}
