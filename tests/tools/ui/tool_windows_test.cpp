// The tool windows and debug keys through the internal edition's main window with the program view,
// against the simulated controller: each menu item opens one instance of its window; the manual request
// shows the answer or why it sent nothing; the watch window writes a typed value through Input_Box and
// keeps the box open on a refused one; the register view hands a clicked register to the editor; the
// debug keys read the shown registers and mark the rung at the program counter.
#include <gtest/gtest.h>

#include <optional>

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>

#include "app/shell_procedures.h"
#include "app/startup.h"
#include "app/ui/main_window.h"
#include "comm/register_map.h"
#include "core/busy_run.h"
#include "core/value_type_codes.h"
#include "fbeditor/ui/comandi.h"
#include "fbeditor/ui/input_box.h"
#include "program/ui/program_commands.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "support/ui/user_input.h"
#include "tools/ui/frm_dialoga.h"
#include "tools/ui/frm_eeprom.h"
#include "tools/ui/frm_watch.h"
#include "tools/ui/multi_sock_window.h"
#include "tools/ui/registri.h"

namespace {

ShellProcedures withProgram(AppContext& ctx) {
    ShellProcedures procs;
    procs.Program = std::make_shared<ProgramCommands>(ctx);
    return procs;
}

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
    bool sent(const Bytes& request) const {
        const auto t = sim.transcript();
        return std::find(t.begin(), t.end(), request) != t.end();
    }
    Bytes readShown() {
        const RegisterView& v = window.registers();
        return {10, 4, 0, uint8_t(v.firstRegister()), 0, uint8_t(v.visibleRows())};
    }

    QTemporaryDir folder;
    SimController sim{10};
    SimSession s;
    ShellProcedures procs = withProgram(s.app);
    MainWindow window{s.app, procs};
    ProgramView& view = procs.Program->view;
};

TEST_F(ToolWindows, EachMenuItemOpensOneInstanceOfItsWindow) {
    window.show();
    EXPECT_TRUE(window.menuItem("mnu_collaudo")->isVisible());
    for (const char* menu : {"mnu_Watch", "mnu_dialoga", "mnu_eeprom", "mnu_MultiSock"}) {
        const auto before = window.mdi()->subWindowList().size();
        open<QWidget>(menu);
        window.menuItem(menu)->trigger();
        EXPECT_EQ(window.mdi()->subWindowList().size(), before + 1) << menu;
        QMdiSubWindow* sub = window.mdi()->subWindowList().back();
        EXPECT_TRUE(sub->isVisible()) << menu;
        sub->close(); // the close box: the frame and its content go
        window.menuItem(menu)->trigger();
        EXPECT_TRUE(sub->isVisible() && sub->widget()->isVisible()) << menu << " reopens whole";
    }
    EXPECT_EQ(window.mdi()->activeSubWindow(),
              window.showTool("mnu_eeprom", false)); // MultiSock stays behind
    EXPECT_EQ(window.findChild<frm_eeprom*>()->ProgressBar1->maximum(), 100);
}

// The answer bytes and the result for a known answer and an exception answer; typed requests that are
// no request, and a Send or Repeat while a run or another loop is under way, are refused before anything
// is sent, the refusal shown in place of the result before it.
TEST_F(ToolWindows, ManualRequestShowsTheAnswerBytesAndTheResult) {
    sim.setHolding(5, 42);
    sim.setHolding(6, 0x1234);
    enum class Busy { No, Run, Loop };
    struct Case {
        const char* node;
        const char* function;
        const char* fields;
        bool exception;
        const char* rx; // nullptr: refused, the monitor keeps what it showed
        const char* result;
        Busy busy = Busy::No;
        bool repeat = false; // Repeat instead of Send
    };
    const Case cases[] = {
        {"10", "3", "00 05 0 2", false, "0A 03 04 00 2A 12 34 ", "OK"},
        {"10", "3", "00 05 0 2", false, nullptr, "Not sent: a polling loop is running", Busy::Loop, true},
        {"10", "3", "00 05 0 2", false, "0A 03 04 00 2A 12 34 ", "OK"},
        {"10", "3", "00 05 0 2", false, nullptr, "Not sent: a download is under way", Busy::Run},
        {"10", "3", "00 05 0 2", true, "0A 83 02 ", "Exception answer, code 2"},
        {"10", "3", "00 05 0 2", false, nullptr, "Not sent: a download is under way", Busy::Run, true},
        {"256", "3", "00", false, nullptr, "Node"},
        {"10", "0", "00", false, nullptr, "Function"},
        {"10", "x", "00", false, nullptr, "Function"},
        {"10", "3", "0G", false, nullptr, "Fields"},
        {"10", "3", "123", false, nullptr, "Fields"},
    };
    auto* w = open<frm_dialoga>("mnu_dialoga");
    ASSERT_NE(w, nullptr);
    QPushButton* repeat = nullptr;
    for (auto* b : w->findChildren<QPushButton*>())
        if (b->text() == "Repeat") repeat = b;
    ASSERT_NE(repeat, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.node) + " " + c.function + " " + c.fields + " " + c.result);
        if (c.exception) sim.inject({SimFault::Exception, 0, 2});
        s.comm->MonitorRx = "old";
        w->node()->setText(c.node);
        w->function()->setText(c.function);
        w->fields()->setText(c.fields);
        std::optional<BusyRun> run;
        if (c.busy == Busy::Run) run.emplace(s.app, "a download");
        s.comm->PollBusy = c.busy == Busy::Loop;
        c.repeat ? repeat->click() : w->cmd_send_Click();
        s.comm->PollBusy = 0;
        EXPECT_EQ(w->txt_buff_rx()->toPlainText(), c.rx ? c.rx : "old");
        EXPECT_TRUE(w->result()->text().startsWith(c.result)) << w->result()->text().toStdString();
        EXPECT_EQ(s.comm->MonitorOn, 0);
    }
    EXPECT_EQ(sim.transcript(), (std::vector<Bytes>(3, Bytes{10, 3, 0, 5, 0, 2})));
}

// The watch window writes a typed value through Input_Box; closing it ends its refresh.
TEST_F(ToolWindows, WatchWindowWritesATypedValueAndClosingItEndsItsRefresh) {
    window.show();
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
    EXPECT_EQ(w->table()->item(0, 2)->text(), "65531"); // shown at once, as the register's uInt

    QTimer::singleShot(0, [this] { window.showTool("mnu_Watch", false)->close(); });
    w->view().start(); // returns once the window closed
    EXPECT_FALSE(w->view().running());
    EXPECT_EQ(s.comm->PollBusy, 0);
    EXPECT_FALSE(window.showTool("mnu_Watch", false)->isHidden()); // the menu shows it again
}

// Closing a tool window ends its work at once: the watch in the second's pause after a pass, MultiSock
// in a request its device leaves unanswered for ten seconds, without a box. MultiSock's close box and
// its Stop, clicked as the user does, are not held by the request's wait: the device shows "Stopped".
TEST_F(ToolWindows, ClosingAToolWindowEndsItsLoopOrScanAtOnce) {
    window.takeCloseDuringRequests(s.pump);
    window.show();
    s.comm->CurrentDevice.LinkTimeout = 10000; // MultiSock's requests wait as long
    SimController silent{1};
    const std::string silentPort = std::to_string(silent.startTcp());
    enum class End { Close, CloseBox, Stop };
    struct Row {
        const char* name;
        bool watch;
        End end;
    };
    for (const Row& row :
         {Row{"watch closed", true, End::Close}, Row{"MultiSock closed", false, End::Close},
          Row{"MultiSock close box", false, End::CloseBox}, Row{"MultiSock Stop", false, End::Stop}}) {
        SCOPED_TRACE(row.name);
        QMdiSubWindow* sub = window.showTool(row.watch ? "mnu_Watch" : "mnu_MultiSock", true);
        const SimController& peer = row.watch ? sim : silent;
        const size_t before = peer.transcript().size();
        if (!row.watch) silent.inject({SimFault::Silence});
        int64_t endedAt = 0;
        QTimer ender; // once the watch's second pass, or MultiSock's first request, is in
        ender.callOnTimeout([&] {
            if (endedAt || peer.transcript().size() < before + (row.watch ? 2 : 1)) return;
            endedAt = s.pump.nowMs();
            if (row.end == End::Close) sub->close();
            if (row.end == End::CloseBox) clickAsTheUser(sub, closeBoxOf(sub));
            if (row.end == End::Stop) {
                for (auto* b : sub->findChildren<QPushButton*>())
                    if (b->text() == "Stop") clickAsTheUser(b, b->rect().center());
            }
        });
        ender.start(10);
        if (row.watch) {
            WatchView& view = static_cast<frm_watch*>(sub->widget())->view();
            view.add(5);
            view.start();
        } else {
            MultiSock& scan = static_cast<MultiSockWindow*>(sub->widget())->scan();
            if (scan.Devices.empty()) scan.add("127.0.0.1", silentPort, "1");
            scan.scan();
            EXPECT_EQ(scan.Devices[0].Result, "Stopped");
            EXPECT_EQ(sub->isHidden(), row.end != End::Stop);
        }
        ASSERT_GT(endedAt, 0);
        EXPECT_LT(s.pump.nowMs() - endedAt, 500);
        EXPECT_EQ(s.comm->PollBusy, 0);
    }
    EXPECT_TRUE(s.dialogs.shown.empty());
}

TEST_F(ToolWindows, TheRegisterViewShowsScrollsAndHandsAClickToTheEditor) {
    window.show();
    MappaRegistri(s.app, true); // the names: no window is built for them
    EXPECT_EQ(window.registersSubWindow(), nullptr);
    window.Toolbar1_ButtonClick("view_reg");
    EXPECT_FALSE(window.registersSubWindow()->isHidden());
    EXPECT_TRUE(sent(readShown())); // opening reads the shown registers
    window.registersSubWindow()->close();
    window.menuItem("mnu_Registri")->trigger();
    EXPECT_TRUE(window.registersSubWindow()->widget()->isVisible()); // whole again
    EXPECT_EQ(window.mdi()->activeSubWindow(), window.registersSubWindow());

    auto* w = window.findChild<Registri*>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->table()->horizontalHeaderItem(2)->text(), "Value");
    ASSERT_GT(w->table()->rowCount(), 1);
    EXPECT_EQ(w->table()->rowCount(), window.registers().visibleRows());
    w->scrollBar()->setValue(40);
    EXPECT_EQ(w->table()->item(0, 0)->text(), "%R40");
    // The wheel scrolls the register table; F5 reads the shown registers again.
    QWheelEvent wheel({10, 10}, w->table()->viewport()->mapToGlobal(QPoint(10, 10)), {}, {0, -120},
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w->table()->viewport(), &wheel);
    EXPECT_GT(w->scrollBar()->value(), 40);
    sim.clearTranscript();
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    QApplication::sendEvent(w, &f5);
    EXPECT_TRUE(sent(readShown()));
    w->scrollBar()->setValue(40);

    procs.Program->NuovoProgetto();
    comandi* editor = procs.Program->editorWindow();
    editor->ApriRung(0, 1);
    editor->opt_Funzione_Click(4); // Add: row 0 is a register row
    editor->txt_Opt_Click(0, 0);
    s.comm->Registers[41].ValueType = KindInt; // the register's type comes with it
    emit w->table()->cellClicked(1, 0);
    EXPECT_EQ(editor->valueBox(0)->currentText(), "%R41");
    EXPECT_EQ(editor->typeBox(0)->currentText(), "Int");
    emit w->table()->cellClicked(999, 0); // no such row
    sim.clearTranscript();
    editor->cmd_AddFunc_Click();
    EXPECT_TRUE(sent(readShown())); // the shown registers are read once the rung is encoded
}

// Closing the main window asks, then ends a running loop.
TEST_F(ToolWindows, ClosingTheWindowEndsTheRunLoop) {
    s.shell->RegUpdate = -1;
    window.show();
    QTimer::singleShot(1200, &window, [this] { window.close(); });
    window.Toolbar1_ButtonClick("run");
    EXPECT_EQ(s.dialogs.shown.back(), "A polling loop is reading the device. Stop it and close the program?");
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);
    EXPECT_TRUE(sent({10, 6, 0, 0, 0, 0xFF}));
    EXPECT_TRUE(sent(readShown()));
}

// The halt key reads the shown registers, marks the rung at the program counter and scrolls it into view.
TEST_F(ToolWindows, PauseReadsTheRegistersAndMarksTheCurrentRungInTheProgramView) {
    window.resize(1366, 768);
    window.LoadLogWindow(3000); // a new project's view goes beside it
    procs.Program->NuovoProgetto();
    for (int i = 0; i < 40; ++i)
        view.RidisegnaRung();
    view.setScroll(0);
    // The program view shows fewer rows than the main window's height would hold.
    window.show();
    procs.Program->frame()->resize(procs.Program->frame()->width(), 400);
    QApplication::processEvents();

    sim.setProgramCounter(30);
    sim.setInput(3, 0x4142);
    window.Toolbar1_ButtonClick("pause");
    EXPECT_TRUE(sent({10, 6, 0, 0, 0, 0x64}));
    EXPECT_TRUE(sent(readShown()));
    EXPECT_EQ(s.comm->Registers[3].Value, 0x4142);
    ASSERT_GT(view.rows().Rows.size(), 31u);
    EXPECT_EQ(view.rows().Rows[31].NumberColour, std::optional<uint32_t>(RungYellow));
    EXPECT_EQ(view.ScrollValue, 30);

    sim.setProgramCounter(31);
    window.Toolbar1_ButtonClick("pause");
    EXPECT_EQ(view.rows().Rows[32].NumberColour, std::optional<uint32_t>(RungYellow));
    EXPECT_EQ(view.rows().Rows[31].NumberColour, std::optional<uint32_t>(RungWhite));
    EXPECT_EQ(view.ScrollValue, 30); // still in sight

    // Below the program view's own rows area, though inside the main window's height.
    sim.setProgramCounter(33);
    window.Toolbar1_ButtonClick("pause");
    EXPECT_EQ(view.ScrollValue, 33);
}

} // namespace
