// The debug keys and the register view through the main window with the program view, against the
// simulated controller.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTableWidget>
#include <QTimer>

#include "app/shell_procedures.h"
#include "app/ui/main_window.h"
#include "comm/register_map.h"
#include "core/language.h"
#include "fbeditor/ui/comandi.h"
#include "program/ui/program_commands.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"
#include "tools/ui/registri.h"

namespace {

ShellProcedures withProgram(AppContext& ctx) {
    ShellProcedures procs;
    procs.Program = std::make_shared<ProgramCommands>(ctx);
    return procs;
}

class DebugKeys : public ::testing::Test {
  protected:
    void SetUp() override {
        CaricaRisorse(*s.shell, 1);
        MappaRegistri(s.app, false);
        s.comm->CurrentDevice.LinkTimeout = 300;
        ASSERT_TRUE(s.connectTcp(sim.startTcp()));
        window.bindCommands();
        sim.clearTranscript();
    }
    bool sent(const Bytes& request) const {
        const auto t = sim.transcript();
        return std::find(t.begin(), t.end(), request) != t.end();
    }
    Bytes readShown() { return {10, 4, 0, 0, 0, static_cast<uint8_t>(window.registers().visibleRows())}; }
    SimController sim{10};
    SimSession s;
    ShellProcedures procs = withProgram(s.app);
    MainWindow window{s.app, procs};
    ProgramView& view = procs.Program->view;
};

TEST_F(DebugKeys, TheRegisterViewShowsScrollsAndHandsAClickToTheEditor) {
    window.show();
    MappaRegistri(s.app, true); // loads the view to redraw the names, without showing it
    ASSERT_NE(window.registersSubWindow(), nullptr);
    EXPECT_TRUE(window.registersSubWindow()->isHidden());
    window.Toolbar1_ButtonClick("view_reg");
    EXPECT_FALSE(window.registersSubWindow()->isHidden());
    EXPECT_TRUE(sim.transcript().empty()); // showing reads nothing
    window.registersSubWindow()->close();
    window.menuItem("mnu_Registri")->trigger();
    EXPECT_FALSE(window.registersSubWindow()->isHidden());
    EXPECT_EQ(window.mdi()->activeSubWindow(), window.registersSubWindow());

    auto* w = window.findChild<Registri*>();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->table()->horizontalHeaderItem(2)->text(), "Value");
    ASSERT_GT(w->table()->rowCount(), 1);
    EXPECT_EQ(w->table()->rowCount(), window.registers().visibleRows());
    w->scrollBar()->setValue(40);
    EXPECT_EQ(w->table()->item(0, 0)->text(), "%R40");

    procs.Program->NuovoProgetto();
    comandi* editor = procs.Program->editorWindow();
    editor->ApriRung(0, 1);
    editor->opt_Funzione_Click(4); // Add: row 0 is a register row
    editor->txt_Opt_Click(0, 0);
    emit w->table()->cellClicked(1, 0);
    EXPECT_EQ(editor->valueBox(0)->currentText(), "%R41");
}

TEST_F(DebugKeys, PauseReadsTheShownRegisters) {
    sim.setInput(3, 0x4142);
    window.Toolbar1_ButtonClick("pause");
    EXPECT_TRUE(sent({10, 6, 0, 0, 0, 0x64}));
    EXPECT_TRUE(sent(readShown()));
    EXPECT_EQ(s.comm->Registers[3].Value, 0x4142);
}

// Closing the main window ends a running loop.
TEST_F(DebugKeys, ClosingTheWindowEndsTheRunLoop) {
    s.shell->RegUpdate = -1;
    window.show();
    QTimer::singleShot(1200, &window, [this] { window.close(); });
    window.Toolbar1_ButtonClick("run");
    EXPECT_EQ(s.comm->PollStop, 1);
    EXPECT_EQ(s.comm->PollBusy, 0);
    EXPECT_TRUE(sent({10, 6, 0, 0, 0, 0xFF}));
    EXPECT_TRUE(sent(readShown()));
}

// The halt key marks the rung at the program counter and scrolls it into view.
TEST_F(DebugKeys, PauseMarksTheCurrentRungInTheProgramView) {
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
    window.Toolbar1_ButtonClick("pause");
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

TEST_F(DebugKeys, AnEncodingRefreshesTheRegisterView) {
    procs.Program->NuovoProgetto();
    sim.clearTranscript();
    procs.Program->editorWindow()->ApriRung(0, 1);
    procs.Program->editorWindow()->cmd_AddFunc_Click();
    EXPECT_TRUE(sent(readShown())); // the shown registers are read once the rung is encoded
}

} // namespace
