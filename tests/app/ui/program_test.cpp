// The whole program over a simulated controller on loopback: end-to-end runs, and every window as it opens
// on a 1366 x 768 screen.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <QApplication>
#include <QCheckBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include "comm/device_procedures.h"
#include "core/build_flags.h"
#include "discovery/device_search.h"
#include "discovery/ui/frm_search.h"
#include "fbeditor/ui/comandi.h"
#include "platform/window_fit.h"
#include "program/transfer/side_area_encoders.h"
#include "program/ui/frm_download.h"
#include "program/ui/program_commands.h"
#include "program/ui/program_window.h"
#include "program_fixture.h"
#include "tools/ui/frm_dialoga.h"
#include "tools/ui/frm_watch.h"

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

// The three ways to connect, each to a simulator at 127.0.0.1:port, node 3.
enum class ConnectBy { SettingsOk, ConnectKey, SetAsController };

void connectBy(Program& p, ConnectBy how, uint16_t port) {
    switch (how) {
    case ConnectBy::SettingsOk:
        return p.confirmSettings(port, 0);
    case ConnectBy::ConnectKey:
        p.comm.CurrentDevice.Port = static_cast<int16_t>(port);
        return p.window->Toolbar1_ButtonClick("connect");
    case ConnectBy::SetAsController:
        // The device the search found at 127.0.0.1, node 3 (a reply to its first query).
        p.comm.SearchQueryA = -1;
        p.window->searchWindow()->search().UDP_DataArrival(
            "JXV8410" + std::string(15, '\0') + std::string{'\x03', '\x00', '\x07'}, "127.0.0.1");
        p.comm.SearchQueryA = 0;
        p.comm.DeviceTable[1].Port = static_cast<int16_t>(port);
        return p.window->menuItem("mnu_SetAsController")->trigger();
    }
}

// Connected to a controller in debug mode, a connect to another (the same model) whose mode byte is neither
// debug nor release holds release mode, and the status bar and keys show that, whichever way it came.
TEST(EndToEnd, EveryConnectShowsTheModeItHolds) {
    for (ConnectBy how : {ConnectBy::SettingsOk, ConnectBy::ConnectKey, ConnectBy::SetAsController}) {
        Program p;
        p.sim.setMemory(ModeByteAddress, {ModeDebug});
        p.confirmSettings(p.sim.startTcp(), 0); // JXV8410-USB
        ASSERT_EQ(p.panel(2), "Debug Mode");
        SimController other(3);
        other.setIdentification(0x8, 0x0, 0xE, 0x7);
        other.setMemory(ModeByteAddress, {0x00});
        connectBy(p, how, other.startTcp());
        EXPECT_EQ(other.transcript().size(), how == ConnectBy::SetAsController ? 4u : 3u);
        EXPECT_EQ(p.comm.CurrentDevice.DebugMode, 0);
        EXPECT_EQ(p.panel(2), "Release Mode") << int(how);
        for (const char* key : {"download", "run", "pause", "step"})
            EXPECT_FALSE(p.window->button(key)->isEnabled()) << key << int(how);
    }
}

// A connect is one run. A key pressed, a manual request sent, the Watch started and the Download window's
// Download clicked while its first request waits for a late answer never act between its requests: the
// tool windows and the download are refused; the key waits for the connect key's or Set as Controller's
// command and then acts, and is refused during the settings' OK, which is no command of the toolbar.
TEST(EndToEnd, NothingActsBetweenTheRequestsOfAConnect) {
    const Bytes ident{3, 4, 0, 1, 0, 2}, mode{3, 20, 2, 0, 0, 19, 1}, status{3, 4, 0, 0, 0, 1};
    const std::vector<Bytes> debugKey{{3, 20, 4, 0, 0, 19, 1, ModeDebug}, mode, status};
    const struct {
        ConnectBy how;
        std::vector<Bytes> connect;
        bool keyWaits;
    } rows[] = {{ConnectBy::SettingsOk, {ident, mode, status}, false},
                {ConnectBy::ConnectKey, {ident, mode, status}, true},
                {ConnectBy::SetAsController, {ident, ident, mode, status}, true}};
    for (const auto& r : rows) {
        Program p;
        p.sim.setMemory(ModeByteAddress, {ModeDebug});
        p.confirmSettings(p.sim.startTcp(), 0); // JXV8410-USB
        p.window->button("download")->trigger();
        p.window->menuItem("mnu_dialoga")->trigger();
        p.window->menuItem("mnu_Watch")->trigger();
        auto* download = p.window->findChild<frm_Download*>();
        auto* manual = p.window->findChild<frm_dialoga*>();
        auto* watch = p.window->findChild<frm_watch*>();
        ASSERT_TRUE(download && manual && watch && watch->view().add(5));
        SimController other(3);
        other.setIdentification(0x8, 0x0, 0xE, 0x7);
        other.inject({SimFault::Delay, 500}); // the first request
        const uint16_t port = other.startTcp();
        p.shell.log.LogClear();
        QTimer::singleShot(100, [&] {
            p.window->Toolbar1_ButtonClick("debug");
            manual->findChild<QPushButton*>("cmd_send")->click();
            watch->view().start();
            download->findChild<QPushButton*>("cmdDownload")->click();
        });
        connectBy(p, r.how, port);
        std::vector<Bytes> sent = r.connect;
        if (r.keyWaits) sent.insert(sent.end(), debugKey.begin(), debugKey.end());
        EXPECT_EQ(other.transcript(), sent) << int(r.how);
        for (const std::string refused : {"Request", "Download"})
            EXPECT_TRUE(p.logHas(refused + " refused: a connect is under way")) << refused << int(r.how);
        EXPECT_EQ(p.logHas("Set Debug Mode refused: a connect is under way"), !r.keyWaits) << int(r.how);
        EXPECT_FALSE(p.logHas("Download Successful"));
    }
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

// Every rung of a loaded project is reachable before and after the format key; the caption names the project
// after save and load, and the status panels stay while a tooltip shows.
TEST(WindowsFit, EveryRungReachableCaptionNamesTheProjectPanelsStay) {
    Screen s;
    const std::string path = s.saveProject(256);
    ASSERT_FALSE(path.empty());
    const QString base = QString::fromStdString(path.substr(0, path.size() - 4));
    EXPECT_EQ(s.window->windowTitle(), base);
    s.window->menuItem("mnu_new")->trigger();
    EXPECT_EQ(s.window->windowTitle(), s.window->programName()); // the old path is gone
    s.window->SetCaption("Melqo");
    s.dialogs.files = {path};
    s.window->button("proj_open")->trigger();
    EXPECT_EQ(s.window->windowTitle(), base);
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
        bar->setValue(bar->maximum() - 1);
        const ViewRow* last = s.program().view.row(256);
        ASSERT_TRUE(last);
        EXPECT_GE(last->Top, 0);
        EXPECT_LE((last->Top + last->Height) * w->logicalDpiY() / 1440, w->rows()->height());
        w->formatButton()->click();
    }
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

// New puts the register window at the top right of the program view, moved left (and above the view) as far
// as its four columns need, and at the area's whole width in an area narrower than they are: at the main
// window's opening size on a 1366 x 768 screen (16000 x 13000 twips, fitted), on the whole screen and on a
// small one; whether the register window was open before or is opened after.
TEST(WindowsFit, NewPlacesTheRegistersWithTheirColumnsInSight) {
    for (const QSize size : {QSize(1067, 736), QSize(1366, 700), QSize(400, 450)})
        for (const bool openFirst : {false, true}) {
            SCOPED_TRACE(size.width());
            SCOPED_TRACE(openFirst);
            Screen s;
            s.window->resize(size);
            QApplication::processEvents();
            if (openFirst) s.window->menuItem("mnu_Registri")->trigger();
            s.window->menuItem("mnu_new")->trigger();
            if (!openFirst) s.window->menuItem("mnu_Registri")->trigger();
            QApplication::processEvents();
            QMdiSubWindow* sub = s.window->registersSubWindow();
            const QWidget* registers = subWindowContent(sub);
            const QRect area = s.window->mdi()->viewport()->rect();
            EXPECT_TRUE(inside(area, sub->geometry()));
            const auto stack = s.window->mdi()->subWindowList(QMdiArea::StackingOrder);
            EXPECT_GT(stack.indexOf(sub), stack.indexOf(s.program().frame()));
            EXPECT_EQ(sub->y(), 0);
            const int wanted = registers->sizeHint().width() + sub->width() - sub->widget()->width();
            if (area.width() < wanted) {
                EXPECT_EQ(sub->width(), area.width());
                continue;
            }
            EXPECT_GE(registers->width(), registers->sizeHint().width());
            EXPECT_EQ(sub->x(),
                      std::min(s.program().frame()->geometry().right() + 1, area.width() - sub->width()));
        }
}

// The rung editor never covers the rung it edits, also when every rung fits and no scroll bar shows.
TEST(WindowsFit, TheRungEditorLeavesItsRungInSight) {
    Screen s;
    s.window->menuItem("mnu_new")->trigger();
    s.window->menuItem("mnu_Registri")->trigger();
    for (int k = 0; k < 2; ++k)
        s.window->button("rung_add_after")->trigger();
    ProgramWindow* w = s.program().window();
    QWidget* area = s.window->mdi()->viewport();
    for (int16_t rung = 1; rung <= 3; ++rung) {
        s.program().view.setScroll(0);
        s.program().view.rowClick(rung);
        s.window->button("rung_mod")->trigger();
        const QRect row = w->rowRect(rung);
        ASSERT_FALSE(row.isEmpty()) << rung;
        const QRect shown(w->mapTo(area, row.topLeft()), row.size());
        EXPECT_FALSE(subWindowOf(s.program().editorWindow())->geometry().intersects(shown)) << rung;
    }
}

TEST(EndToEnd, SettingsOkAndTheConnectKeyConnectCheckTheModelAndReadTheMode) {
    Program p;
    p.sim.setMemory(ModeByteAddress, {ModeDebug});
    uint16_t port = p.sim.startTcp();
    EXPECT_EQ(p.panel(1), "Not Connected");
    EXPECT_FALSE(p.window->button("download")->isEnabled());

    p.confirmSettings(port, 0); // JXV8410-USB
    const DeviceRecord& d = p.comm.CurrentDevice;
    EXPECT_EQ((std::tuple{d.Connected, d.ModelIndex, d.DebugMode, d.LinkTimeout, p.comm.AnswerTimeout}),
              (std::tuple{int16_t{-1}, uint8_t{5}, int16_t{-1}, int16_t{1500}, int16_t{2}}));
    EXPECT_EQ(p.panel(2), "Debug Mode");
    EXPECT_EQ(p.panel(5), QString("127.0.0.1 [3]"));
    EXPECT_TRUE(p.window->button("debug")->isEnabled());
    EXPECT_TRUE(std::filesystem::exists(p.folder.filePath("devSettings.dat").toStdString()));
    EXPECT_TRUE(p.dialogs.shown.empty());

    // The connect key checks the model and asks before changing it (the texts: the model check's tests).
    p.sim.setIdentification(0x8, 0x4, 0x8, 0x0); // "8480": JXV8480, row 9
    p.sim.setMemory(ModeByteAddress, {ModeRelease});
    for (MsgChoice answer : {MsgChoice::No, MsgChoice::Yes}) {
        p.dialogs.choices = {answer};
        p.window->button("connect")->trigger();
    }
    EXPECT_EQ(p.dialogs.shown.size(), 2u);
    EXPECT_EQ(p.comm.CurrentDevice.ModelIndex, 9);
    EXPECT_EQ(p.panel(6), "JXV8480");
    EXPECT_EQ(p.panel(2), "Release Mode"); // the mode was read again
    EXPECT_TRUE(p.window->menuItem("mnu_display")->isVisible());

    p.window->button("disconnect")->trigger();
    EXPECT_EQ(p.panel(1), "Not Connected");
}

TEST(EndToEnd, SaveOpenCompileAndDownloadWithVerify) {
    Program p;
    p.sim.setMemory(ModeByteAddress, {ModeDebug});
    p.confirmSettings(p.sim.startTcp(), 0); // JXV8410-USB
    ASSERT_EQ(p.panel(2), "Debug Mode");

    const std::string path = p.saveProject(2);
    const CommandRecord first = p.project.Program.Sections[0].Rungs[1];
    ASSERT_EQ(p.project.ProjectModified, 0);
    ASSERT_TRUE(std::filesystem::exists(path));

    p.window->menuItem("mnu_new")->trigger();
    EXPECT_LE(p.project.Program.Sections[0].RungCount, 1); // the saved rungs are gone
    p.dialogs.files = {path};
    p.window->button("proj_open")->trigger();
    ASSERT_EQ(p.project.Program.Sections[0].RungCount, 2);
    EXPECT_EQ(p.project.Program.Sections[0].Rungs[1], first);

    p.shell.log.LogClear();
    p.window->button("proj_comp")->trigger();
    EXPECT_TRUE(p.logHas("Compiled"));
    // The controller will answer the verify's upload with what it now runs.
    p.sim.setImage(0, Bytes(p.project.ProgramImage.begin(), p.project.ProgramImage.begin() + 5634));

    ASSERT_TRUE(p.window->button("download")->isEnabled());
    p.window->button("download")->trigger();
    auto* download = p.window->findChild<frm_Download*>();
    ASSERT_TRUE(download);
    download->findChild<QCheckBox*>("chk_Verify")->setChecked(true);
    // Keys pressed while the download runs (here from a timer during its first answer) are refused.
    p.sim.inject({SimFault::Delay, 200});
    bool settingsOpened = true;
    QTimer::singleShot(50, [&] {
        p.window->Toolbar1_ButtonClick("disconnect");
        settingsOpened = p.window->openSettings(SettingsDialog::ConnectionPage) != nullptr;
    });
    download->findChild<QPushButton*>("cmdDownload")->click();
    EXPECT_FALSE(settingsOpened);
    EXPECT_EQ(p.comm.CurrentDevice.Connected, -1);
    EXPECT_TRUE(p.logHas("Download Successful"));
    EXPECT_TRUE(p.logHas("Verified ! -> OK"));
    // Opening, downloading, running and a language switch change nothing of the project.
    p.window->button("run")->trigger();
    EXPECT_EQ(p.panel(3), "RUN");
    p.window->languages().CambiaLingua(1 - p.shell.Language);
    QApplication::processEvents();
    EXPECT_EQ(p.project.ProjectModified, 0);
    EXPECT_EQ(p.sim.memory(512, 64),
              Bytes(p.project.ProgramImage.begin(), p.project.ProgramImage.begin() + 64));

    // Export is a menu of internal builds only; it is bound all the same.
    const std::string exported = p.folder.filePath("plant.mlq").toStdString();
    p.dialogs.files = {exported};
    EXPECT_EQ(p.window->menuItem("mnu_Export")->isVisible(), BuildInternal != 0);
    p.window->menuItem("mnu_Export")->trigger();
    EXPECT_TRUE(p.logHas("Export Successful"));
    EXPECT_TRUE(std::filesystem::exists(exported));
}

// Commands chosen while a download runs (an item chosen just before the run disabled it, keys, the settings'
// OK, a manual request) never act between its requests: the controller ends up holding one project, the
// project as compiled when the download started, and each refusal says why.
TEST(EndToEnd, CommandsChosenDuringADownloadAreRefusedAndItSendsTheProjectAsCompiled) {
    Program p;
    p.sim.setMemory(ModeByteAddress, {ModeDebug});
    p.confirmSettings(p.sim.startTcp(), 0); // JXV8410-USB
    const std::string other = p.saveProject(2);
    ASSERT_FALSE(other.empty());
    p.project.Program.Sections[0].RungCount = 1; // this project: the first rung and one variable of its own
    VariableRecord& variable = p.project.Variables.Variables[0];
    p.project.Variables.Count = 1;
    variable.Register = 100;
    variable.Format = "%+5.0f";
    variable.Name = "Level";
    const VariableRecord compiledVariable = variable;
    p.window->button("proj_comp")->trigger();
    const Bytes compiled(p.project.ProgramImage.begin(), p.project.ProgramImage.begin() + 64);
    p.sim.setImage(0, Bytes(p.project.ProgramImage.begin(), p.project.ProgramImage.begin() + 5634));

    p.window->menuItem("mnu_dialoga")->trigger();
    auto* manual = p.window->findChild<frm_dialoga*>();
    ASSERT_TRUE(manual);
    p.window->button("download")->trigger();
    auto* download = p.window->findChild<frm_Download*>();
    ASSERT_TRUE(download);
    download->findChild<QCheckBox*>("chk_Verify")->setChecked(true);
    p.sim.clearTranscript();
    p.shell.log.LogClear();
    p.sim.inject({SimFault::Delay, 300});
    std::vector<bool> enabled; // Open, Settings > Controller, the disconnect key; Exit, Log, the log key
    QTimer::singleShot(100, [&] {
        for (const char* item : {"mnu_openProj", "mnu_controller"})
            enabled.push_back(p.window->menuItem(item)->isEnabled());
        enabled.push_back(p.window->button("disconnect")->isEnabled());
        for (const char* item : {"mnu_exit", "mnu_log"})
            enabled.push_back(p.window->menuItem(item)->isEnabled());
        enabled.push_back(p.window->button("view_log")->isEnabled());
        p.dialogs.files = {other};
        for (const char* item : {"mnu_openProj", "mnu_new", "mnu_close", "mnu_controller"}) {
            QAction* action = p.window->menuItem(item);
            action->setEnabled(true); // as chosen an instant before the run began
            action->trigger();
        }
        p.window->Toolbar1_ButtonClick("disconnect");
        manual->findChild<QPushButton*>("cmd_send")->click();
        // An open editor's change goes to the project, not into the download under way, and the registers
        // it shows are not read meanwhile.
        variable.Register = 101;
        p.project.ProgramImage[0] ^= 0xFF;
        p.procs.Program->refreshRegisters();
    });
    download->findChild<QPushButton*>("cmdDownload")->click();
    EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, true, true, true}));
    EXPECT_TRUE(p.window->menuItem("mnu_openProj")->isEnabled());
    EXPECT_TRUE(p.logHas("Verified ! -> OK"));
    for (const char* refused : {"Project > Open", "Project > New", "Project > Close", "Settings > Controller",
                                "Disconnect Controller", "Request"})
        EXPECT_TRUE(p.logHas(std::string(refused) + " refused: a download is under way")) << refused;
    EXPECT_EQ(p.project.Program.Sections[0].RungCount, 1);
    EXPECT_EQ(p.comm.CurrentDevice.Connected, -1);
    const std::vector<Bytes> sent = p.sim.transcript();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), Bytes{3, 3, 0, 0, 0, 1}), 0);
    EXPECT_FALSE(p.logHas("Request refused: another request is waiting for its answer"));
    EXPECT_EQ(p.sim.memory(p.ctx.model().ProgramBase, 64), compiled);
    std::array<uint8_t, 32> record{};
    ASSERT_TRUE(EncodeVariable(compiledVariable, p.ctx.model().StringsBase, record));
    EXPECT_EQ(p.sim.memory(p.ctx.model().VariablesBase, 32), Bytes(record.begin(), record.end()));
}

} // namespace
