// The tool windows through the internal edition's menus, against the simulated controller: each menu
// item opens one instance of its window; the manual request shows the answer or why it sent nothing; the
// watch window writes a typed value through Input_Box and keeps the box open on a refused one.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "app/shell_procedures.h"
#include "app/startup.h"
#include "app/ui/main_window.h"
#include "core/value_type_codes.h"
#include "fbeditor/ui/input_box.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "tools/ui/frm_dialoga.h"
#include "tools/ui/frm_eeprom.h"
#include "tools/ui/frm_watch.h"

namespace {

class ToolWindows : public ::testing::Test {
  protected:
    void SetUp() override {
        BuildFlags internal = ThisBuild;
        internal.Internal = -1;
        Main(s.app, &window, {internal, folder.path().toStdString()});
        window.bindCommands();
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        sim.clearTranscript();
    }
    template <class W> W* open(const char* menu) {
        QAction* item = window.menuItem(menu);
        EXPECT_TRUE(item->isEnabled() && item->isVisible()) << menu;
        item->trigger();
        return window.findChild<W*>();
    }

    QTemporaryDir folder;
    SimController sim{10};
    SimSession s;
    ShellProcedures procs;
    MainWindow window{s.app, procs};
};

TEST_F(ToolWindows, EachMenuItemOpensOneInstanceOfItsWindow) {
    window.show();
    EXPECT_TRUE(window.menuItem("mnu_collaudo")->isVisible());
    for (const char* menu : {"mnu_Watch", "mnu_dialoga", "mnu_eeprom", "mnu_MultiSock"}) {
        const auto before = window.mdi()->subWindowList().size();
        open<QWidget>(menu);
        window.menuItem(menu)->trigger();
        EXPECT_EQ(window.mdi()->subWindowList().size(), before + 1) << menu;
        EXPECT_TRUE(window.mdi()->subWindowList().back()->isVisible()) << menu;
    }
    EXPECT_EQ(window.mdi()->activeSubWindow(),
              window.showTool("mnu_eeprom", false)); // MultiSock stays behind
    EXPECT_EQ(window.findChild<frm_eeprom*>()->ProgressBar1->maximum(), 100);
}

// The answer bytes and the result for a known answer and an exception answer; typed requests that are
// no request are refused before anything is sent.
TEST_F(ToolWindows, ManualRequestShowsTheAnswerBytesAndTheResult) {
    sim.setHolding(5, 42);
    sim.setHolding(6, 0x1234);
    struct Case {
        const char* node;
        const char* function;
        const char* fields;
        bool exception;
        const char* rx; // nullptr: refused, the monitor keeps what it showed
        const char* result;
    };
    const Case cases[] = {
        {"10", "3", "00 05 0 2", false, "0A 03 04 00 2A 12 34 ", "OK"},
        {"10", "3", "00 05 0 2", true, "0A 83 02 ", "Exception answer, code 2"},
        {"256", "3", "00", false, nullptr, "Node"},
        {"10", "0", "00", false, nullptr, "Function"},
        {"10", "x", "00", false, nullptr, "Function"},
        {"10", "3", "0G", false, nullptr, "Fields"},
        {"10", "3", "123", false, nullptr, "Fields"},
    };
    auto* w = open<frm_dialoga>("mnu_dialoga");
    ASSERT_NE(w, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + " " + c.function + " " + c.fields);
        if (c.exception) sim.inject({SimFault::Exception, 0, 2});
        s.comm->MonitorRx = "old";
        w->node()->setText(c.node);
        w->function()->setText(c.function);
        w->fields()->setText(c.fields);
        w->cmd_send_Click();
        EXPECT_EQ(w->txt_buff_rx()->toPlainText(), c.rx ? c.rx : "old");
        EXPECT_TRUE(w->result()->text().startsWith(c.result));
        EXPECT_EQ(s.comm->MonitorOn, 0);
    }
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>(2, Bytes{10, 3, 0, 5, 0, 2})));
}

TEST_F(ToolWindows, WatchWindowWritesATypedValueThroughInputBox) {
    auto* w = open<frm_watch>("mnu_Watch");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "Watch");
    ASSERT_TRUE(w->view().add(20));
    w->table()->setCurrentCell(0, 0);
    w->writeValue();
    auto* box = w->findChild<Input_Box*>();
    ASSERT_NE(box, nullptr);
    box->types()->setCurrentIndex(KindInt);
    box->text()->setText("-40000");
    box->cmd_ok_Click();
    EXPECT_TRUE(box->isVisible()); // refused: stays open with the reason
    EXPECT_TRUE(box->message()->text().startsWith("Value out of range"));
    EXPECT_TRUE(sim.transcript().empty());
    box->text()->setText("-5");
    box->cmd_ok_Click();
    EXPECT_EQ(sim.holding(20), 0xFFFB);
}

TEST_F(ToolWindows, ClosingTheWatchWindowEndsItsRefresh) {
    window.show();
    auto* w = open<frm_watch>("mnu_Watch");
    ASSERT_NE(w, nullptr);
    w->view().add(3);
    QTimer::singleShot(0, [this] { window.showTool("mnu_Watch", false)->close(); });
    w->view().start(); // returns once the window closed
    EXPECT_FALSE(w->view().running());
    EXPECT_EQ(s.comm->PollBusy, 0);
    EXPECT_FALSE(window.showTool("mnu_Watch", false)->isHidden()); // the menu shows it again
}

} // namespace
