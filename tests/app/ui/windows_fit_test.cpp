#include <gtest/gtest.h>

#include <functional>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include "fbeditor/ui/comandi.h"
#include "platform/window_fit.h"
#include "program/ui/frm_download.h"
#include "program/ui/program_commands.h"
#include "program/ui/program_window.h"
#include "program_fixture.h"

namespace {

// The main window as it opens on a 1366 x 768 screen, title bar and task bar taken off.
struct Screen : Program {
    Screen() {
        window->resize(1366, 700);
        window->show();
        QApplication::processEvents();
    }
    ProgramCommands& program() { return *procs.Program; }
};

bool inside(const QRect& outer, const QRect& inner) {
    return outer.contains(inner.topLeft()) && outer.contains(inner.bottomRight());
}

TEST(WindowsFit, EveryWindowOpensUsableInsideTheMainWindow) {
    const struct {
        const char* menuItem;                   // triggered first, when set
        std::function<QWidget*(Screen&)> shown; // the sub-window or dialog
    } windows[] = {
        {nullptr, [](Screen& s) { return s.window->logSubWindow(); }},
        {"mnu_new", [](Screen& s) { return s.program().frame(); }},
        {"mnu_new",
         [](Screen& s) {
             s.window->button("rung_mod")->trigger();
             return subWindowOf(s.program().editorWindow());
         }},
        {"mnu_Registri", [](Screen& s) { return s.window->registersSubWindow(); }},
        {"mnu_viewProj", [](Screen& s) { return s.window->mdi()->activeSubWindow(); }},
        {"mnu_search", [](Screen& s) { return s.window->mdi()->activeSubWindow(); }},
        {"mnu_Watch", [](Screen& s) { return s.window->mdi()->activeSubWindow(); }},
        {nullptr, [](Screen& s) -> QWidget* { return s.window->showVariables(); }},
        {nullptr, [](Screen& s) -> QWidget* { return s.window->showTables(); }},
        {nullptr,
         [](Screen& s) -> QWidget* {
             s.window->showDownload();
             return s.window->findChild<frm_Download*>();
         }},
    };
    for (size_t i = 0; i < std::size(windows); ++i) {
        SCOPED_TRACE(i);
        Screen s;
        if (windows[i].menuItem) s.window->menuItem(windows[i].menuItem)->trigger();
        QWidget* frame = windows[i].shown(s);
        QApplication::processEvents();
        ASSERT_TRUE(frame);
        EXPECT_TRUE(frame->isVisible());
        EXPECT_GE(frame->height(), 150); // rows to work in, not a title bar
        if (auto* sub = qobject_cast<QMdiSubWindow*>(frame))
            EXPECT_TRUE(inside(s.window->mdi()->viewport()->rect(), sub->geometry()));
        else
            EXPECT_TRUE(inside(s.window->geometry(), frame->geometry()));
    }
}

TEST(WindowsFit, EveryRungOfALoadedProjectIsReachableBeforeAndAfterTheFormatKey) {
    Screen s;
    const std::string path = s.saveProject(256);
    ASSERT_FALSE(path.empty());
    s.window->menuItem("mnu_new")->trigger();
    s.dialogs.files = {path};
    s.window->button("proj_open")->trigger();
    ASSERT_EQ(s.project.Program.Sections[0].RungCount, 256);
    ProgramWindow* w = s.program().window();
    ASSERT_TRUE(w);
    QScrollBar* bar = w->scrollBar();
    for (const char* format : {"full rows", "compact rows"}) {
        SCOPED_TRACE(format);
        QApplication::processEvents();
        EXPECT_TRUE(bar->isVisible());
        bar->setValue(0);
        QWheelEvent down({10, 10}, w->rows()->mapToGlobal(QPointF(10, 10)), {}, {0, -3 * 120}, Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w->rows(), &down);
        EXPECT_EQ(bar->value(), 3); // three notches, three rungs
        bar->setValue(bar->maximum());
        const ViewRow* last = s.program().view.row(256);
        ASSERT_TRUE(last);
        EXPECT_GE(last->Top, 0);
        EXPECT_LE((last->Top + last->Height) * w->logicalDpiY() / 1440, w->rows()->height());
        w->formatButton()->click();
    }
}

TEST(WindowsFit, CaptionNamesTheProjectAfterSaveAndLoadAndStatusPanelsStayWhileATooltipShows) {
    Screen s;
    const std::string path = s.saveProject(2);
    ASSERT_FALSE(path.empty());
    const QString base = QString::fromStdString(path.substr(0, path.size() - 4));
    EXPECT_EQ(s.window->windowTitle(), base);
    s.window->SetCaption("Melqo");
    s.dialogs.files = {path};
    s.window->button("proj_open")->trigger();
    EXPECT_EQ(s.window->windowTitle(), base);

    QStringList before;
    for (int p = 1; p <= 6; ++p)
        before << s.panel(p);
    for (QAction* a : s.window->toolbar()->actions())
        EXPECT_TRUE(a->statusTip().isEmpty()) << a->objectName().toStdString();
    s.window->statusBar()->showMessage("a tip"); // what any status tip would do
    for (int p = 1; p <= 6; ++p) {
        EXPECT_TRUE(s.window->statusPanel(p)->isVisible()) << p;
        EXPECT_EQ(s.panel(p), before[p - 1]) << p;
    }
}

} // namespace
