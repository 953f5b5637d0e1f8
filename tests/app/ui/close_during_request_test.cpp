// Closing the main window while a request waits for a silent device: the wait ends at once, the input
// that came meanwhile is delivered afterwards, and the close is carried out once the request has returned.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "comm/device_procedures.h"
#include "comm/link.h"
#include "program/ui/program_commands.h"
#include "program_fixture.h"
#include "tools/ui/frm_dialoga.h"
#include "tools/ui/frm_watch.h"

namespace {

struct KeyCounter : QObject {
    int keys = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        keys += e->type() == QEvent::KeyPress;
        return false;
    }
};

// A click on the widget and key strokes to its window, as the window system hands them to the window.
void click(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, w->mapTo(w->window(), at), w->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w->window()->windowHandle(), &e);
    }
}

void type(QWidget* w, const QString& text) {
    for (const QChar c : text)
        for (const QEvent::Type t : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent e(t, Qt::Key_A + (c.unicode() - 'a'), Qt::NoModifier, c);
            QCoreApplication::sendEvent(w->window()->windowHandle(), &e);
        }
}

} // namespace

TEST(CloseDuringRequest, EndsTheWaitAndClosesOnceTheRequestHasReturned) {
    struct Row {
        const char* name;
        bool rtu;
        bool byWindowSystem; // the window manager's close; else Project > Exit
        bool modified;
    };
    for (const Row& row :
         {Row{"Exit, TCP", false, false, false}, Row{"window close, RTU", true, true, true}}) {
        SCOPED_TRACE(row.name);
        Program p;
        p.window->takeCloseDuringRequests(p.pump);
        p.window->show();
        if (row.rtu) {
            DeviceRecord& d = p.comm.CurrentDevice;
            d.Channel = 1;
            d.SerialDevice = p.sim.startRtu();
            d.BaudRate = "115200";
            d.NodeAddress = 3;
            Connetti(p.ctx);
            p.comm.AnswerTimeout = 20;
        } else {
            p.confirmSettings(p.sim.startTcp(), 0);
            p.comm.CurrentDevice.LinkTimeout = 20000;
        }
        ASSERT_TRUE(p.comm.CurrentDevice.Connected);
        p.sim.clearTranscript();
        p.project.ProjectModified = row.modified ? -1 : 0;
        p.dialogs.choices = {MsgChoice::No}; // close without saving
        p.sim.inject({SimFault::Silence});
        KeyCounter counter;
        QWindow* handle = p.window->windowHandle();
        handle->installEventFilter(&counter);
        int keysDuringWait = -1;
        bool menuOpened = false, watchDuringWait = true;
        QTimer::singleShot(300, [&] {
            // As the window system hands them to the window.
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
            QCoreApplication::sendEvent(handle, &key);
            keysDuringWait = counter.keys;
            // The menus open; an item other than Exit acts after the wait, as a click would.
            QMenuBar* bar = p.window->menuBar();
            const QPoint title = bar->actionGeometry(p.window->menuItem("mnu_project")).center();
            QMouseEvent press(QEvent::MouseButtonPress, bar->mapTo(p.window.get(), title), QCursor::pos(),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(handle, &press);
            menuOpened = QApplication::activePopupWidget() != nullptr;
            if (menuOpened) QApplication::activePopupWidget()->close();
            p.window->menuItem("mnu_Watch")->trigger();
            watchDuringWait = p.window->findChild<frm_watch*>() != nullptr;
            QCloseEvent close;
            if (row.byWindowSystem)
                QCoreApplication::sendEvent(handle, &close);
            else
                p.window->menuItem("mnu_exit")->trigger();
        });
        const auto start = std::chrono::steady_clock::now();
        LeggiRegistro(p.ctx, 3, 0); // cut short
        LeggiRegistro(p.ctx, 3, 1); // not sent
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_TRUE(p.window->isVisible()); // not from inside the wait
        EXPECT_EQ(p.panel(4), "Com TimeOut");
        EXPECT_TRUE(p.logHas("Request ended without its answer: the program is closing"));
        EXPECT_TRUE(p.logHas("Request not sent: the program is closing"));
        p.pump.pausa(0.2);
        EXPECT_EQ(std::tuple(keysDuringWait, counter.keys, menuOpened, watchDuringWait),
                  std::tuple(0, 1, true, false));
        EXPECT_TRUE(p.window->findChild<frm_watch*>());
        EXPECT_FALSE(p.window->isVisible());
        const auto closed = std::chrono::steady_clock::now();
        p.pump.pausa(10); // what still runs after the close waits no more
        EXPECT_LT(std::chrono::steady_clock::now() - closed, std::chrono::seconds(5));
        EXPECT_EQ(p.dialogs.shown.size(), row.modified ? 1u : 0u);
        EXPECT_EQ(p.sim.transcript().size(), 1u);
    }
}

// Input that came after a close in the same wait goes with the program once the close is carried out; a
// close the user takes back (Cancel on the save question) leaves it to act.
TEST(CloseDuringRequest, InputAfterACloseActsOnlyIfTheProgramStaysOpen) {
    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "Cancel" : "closed");
        Program p;
        p.window->takeCloseDuringRequests(p.pump);
        p.window->show();
        p.confirmSettings(p.sim.startTcp(), 0);
        ASSERT_TRUE(p.comm.CurrentDevice.Connected);
        p.comm.CurrentDevice.LinkTimeout = 20000;
        p.project.ProjectModified = cancel ? -1 : 0;
        p.dialogs.choices = {MsgChoice::Cancel};
        p.sim.inject({SimFault::Silence});
        QPushButton button("Save");
        button.show();
        int clicks = 0;
        QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
        QTimer::singleShot(300, [&] {
            QCloseEvent close;
            QCoreApplication::sendEvent(p.window->windowHandle(), &close);
            click(&button);
        });
        LeggiRegistro(p.ctx, 3, 0);
        p.pump.pausa(0.2);
        EXPECT_EQ(std::tuple(p.window->isVisible(), clicks), std::tuple(cancel, cancel ? 1 : 0));
    }
}

// A click held during a wait goes whole once the wait ends, though the work sends its next request at
// once: the button acts before that request's wait ends, not a whole time-out later.
TEST(CloseDuringRequest, AClickHeldDuringAWaitActsBeforeTheNextRequestEnds) {
    Program p;
    p.confirmSettings(p.sim.startTcp(), 0);
    ASSERT_TRUE(p.comm.CurrentDevice.Connected);
    p.sim.clearTranscript();
    p.sim.inject({SimFault::Silence});
    p.sim.inject({SimFault::Delay, 500});
    QPushButton button("Stop");
    button.show();
    int requestsDone = 0, clickedAfter = -1;
    QObject::connect(&button, &QPushButton::clicked, [&] { clickedAfter = requestsDone; });
    QTimer::singleShot(300, [&] { click(&button); });
    LeggiRegistro(p.ctx, 3, 0);
    requestsDone = 1;
    p.pump.processEvents(); // a loop of requests runs one pass of the event loop between two
    LeggiRegistro(p.ctx, 3, 0);
    requestsDone = 2;
    EXPECT_EQ(p.sim.transcript().size(), 2u);
    EXPECT_EQ(clickedAfter, 1);
}

// Everything held during a wait comes back at the first pass after it, in order, once: keys, then a click
// whose handler sends a request of its own, then keys that arrive once that request's wait has ended.
TEST(CloseDuringRequest, HeldInputComesBackWholeAfterTheWaitAndAfterAHandlersOwnWait) {
    Program p;
    p.confirmSettings(p.sim.startTcp(), 0);
    ASSERT_TRUE(p.comm.CurrentDevice.Connected);
    p.comm.CurrentDevice.LinkTimeout = 1000;
    p.sim.clearTranscript();
    p.sim.inject({SimFault::Silence});
    p.sim.inject({SimFault::Delay, 300});
    QLineEdit box;
    box.show();
    box.setFocus();
    QPushButton button("Read");
    button.show();
    QString seenByHandler;
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        ++clicks;
        LeggiRegistro(p.ctx, 3, 1);
        p.pump.processEvents();
        seenByHandler = box.text();
    });
    QTimer::singleShot(300, [&] {
        type(&box, "ab");
        click(&button);
        type(&box, "cd");
    });
    LeggiRegistro(p.ctx, 3, 0);
    EXPECT_EQ(box.text(), "");
    p.pump.processEvents();
    EXPECT_EQ(std::tuple(seenByHandler, box.text(), clicks), std::tuple(QString("abcd"), QString("abcd"), 1));
    EXPECT_EQ(p.sim.transcript().size(), 2u);
}

// Clicks on a toolbar key held during the first of a command's two waits all act, once the command has
// returned: none is refused as coming while the command runs.
TEST(CloseDuringRequest, ToolbarClicksHeldDuringTheConnectAllAct) {
    Program p;
    p.window->takeCloseDuringRequests(p.pump);
    p.window->show();
    p.procs.Program->NuovoProgetto();
    p.confirmSettings(p.sim.startTcp(), 0);
    ASSERT_TRUE(p.comm.CurrentDevice.Connected);
    p.comm.CurrentDevice.LinkTimeout = 1000;
    p.sim.inject({SimFault::Silence}); // the model check
    p.sim.inject({SimFault::Silence}); // the mode read
    const int rungs = p.project.Program.Sections[0].RungCount;
    QWidget* insertAfter =
        p.window->toolbar()->widgetForAction(p.window->findChild<QAction*>("rung_add_after"));
    QTimer::singleShot(300, [&] {
        for (int i = 0; i < 3; ++i)
            click(insertAfter);
    });
    p.window->Toolbar1_ButtonClick("connect");
    EXPECT_EQ(p.project.Program.Sections[0].RungCount, rungs + 3);
}

// Toolbar clicks held for the requests of a command, whose answers come late, take their turn behind every
// key clicked before them and are judged then, by what those keys' commands left: on, the key acts; off,
// the log says why, true at that moment. A key grey when clicked never acts, wherever its click comes back.
TEST(CloseDuringRequest, HeldClicksOnTheToolbarAreJudgedInTheirTurn) {
    const struct {
        const char* name;
        uint8_t mode; // the controller's at the start
        const char* first;
        std::vector<std::pair<int, const char*>> clicks; // ms after the first key's click
        int lateMs;
        std::vector<uint8_t> modesWritten;
        std::vector<int> commands; // written to the command register
        const char* line = nullptr;
        bool modeReadFails = false; // the first mode read gets no answer
    } rows[] = {
        {"Stop behind debug behind Release",
         ModeDebug,
         "release",
         {{200, "debug"}, {700, "stop"}},
         600,
         {ModeRelease, ModeDebug},
         {CmdHalt, CmdStop}},
        {"the same, answers 300 ms late",
         ModeDebug,
         "release",
         {{150, "debug"}, {450, "stop"}},
         300,
         {ModeRelease, ModeDebug},
         {CmdHalt, CmdStop}},
        {"Run behind debug behind Release",
         ModeDebug,
         "release",
         {{150, "debug"}, {450, "run"}},
         300,
         {ModeRelease, ModeDebug},
         {CmdRun}},
        {"Run behind Release",
         ModeDebug,
         "release",
         {{450, "run"}},
         300,
         {ModeRelease},
         {},
         "Run not carried out: the controller is now in Release Mode  "},
        {"Run behind a reconnect",
         ModeDebug,
         "debug",
         {{300, "disconnect"}, {700, "connect"}, {1500, "run"}},
         600,
         {ModeDebug},
         {CmdRun}},
        {"Run grey when clicked", ModeRelease, "release", {{450, "run"}}, 300, {ModeRelease}, {}},
        {"Run grey when clicked, on when it comes back",
         ModeRelease,
         "debug",
         {{450, "run"}},
         300,
         {ModeDebug},
         {}},
        {"Run behind a mode read that failed",
         ModeDebug,
         "debug",
         {{150, "run"}},
         300,
         {ModeDebug},
         {},
         "Run not carried out: the controller's mode could not be read  ",
         true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Program p;
        p.window->takeCloseDuringRequests(p.pump);
        p.window->show();
        p.sim.setMemory(ModeByteAddress, {row.mode});
        p.confirmSettings(p.sim.startTcp(), 0);
        ASSERT_TRUE(p.comm.CurrentDevice.Connected);
        p.comm.CurrentDevice.LinkTimeout = 1000;
        p.sim.clearTranscript();
        for (int request = 0; request < 12; ++request)
            p.sim.inject(
                {row.modeReadFails && request == 1 ? SimFault::Silence : SimFault::Delay, row.lateMs});
        for (const auto& [ms, key] : row.clicks)
            QTimer::singleShot(
                ms, [&p, key = key] { click(p.window->toolbar()->widgetForAction(p.window->button(key))); });
        const auto clicked = std::chrono::steady_clock::now();
        p.window->Toolbar1_ButtonClick(row.first);
        // A click that comes once the keys before it have returned acts at once, inside this pause.
        const std::chrono::duration<double> since = std::chrono::steady_clock::now() - clicked;
        p.pump.pausa(std::max(0.0, row.clicks.back().first / 1000.0 - since.count()) + 0.1);
        std::vector<uint8_t> modes;
        std::vector<int> commands;
        for (const Bytes& r : p.sim.transcript()) {
            if (r.size() == 8 && r[1] == 20 && r[2] == 4 && r[5] == ModeByteAddress) modes.push_back(r[7]);
            if (r.size() >= 6 && r[1] == 6 && r[2] == 0 && r[3] == 0) commands.push_back(r[5]);
        }
        EXPECT_EQ(modes, row.modesWritten);
        EXPECT_EQ(commands, row.commands);
        EXPECT_TRUE(p.comm.CurrentDevice.Connected);
        const auto notCarriedOut = std::ranges::count_if(
            p.shell.log.lines(), [](const std::string& l) { return l.find("not carried out") != l.npos; });
        EXPECT_EQ(notCarriedOut, row.line ? 1 : 0);
        if (row.line) {
            EXPECT_TRUE(p.logHas(row.line));
        }
    }
}

// A close while the Watch polls asks the loop question before anything stops: one during a read's wait
// once that read has its answer, one between reads at once. No, or Cancel on a later question, leaves the
// loop polling.
TEST(CloseDuringRequest, AClosedWhileTheWatchPollsAsksFirstAndNoKeepsItPolling) {
    Program p;
    p.window->takeCloseDuringRequests(p.pump);
    p.window->show();
    p.confirmSettings(p.sim.startTcp(), 0);
    ASSERT_TRUE(p.comm.CurrentDevice.Connected);
    p.project.ProjectModified = -1;
    p.window->menuItem("mnu_Watch")->trigger();
    auto* watch = p.window->findChild<frm_watch*>();
    ASSERT_TRUE(watch && watch->view().add(5));
    p.sim.clearTranscript();
    p.sim.inject({SimFault::Delay, 500}); // the first read
    p.dialogs.choices = {MsgChoice::No, MsgChoice::Yes, MsgChoice::Cancel};
    std::vector<size_t> readsAtClose;
    for (const int ms : {250, 1250}) // during the first read's wait; between the first two reads
        QTimer::singleShot(ms, [&] {
            readsAtClose.push_back(p.sim.transcript().size());
            QCloseEvent close;
            QCoreApplication::sendEvent(p.window->windowHandle(), &close);
        });
    QTimer::singleShot(2200, [&] { watch->view().stop(); }); // after the second read
    watch->view().start();
    const std::string loop = "A polling loop is reading the device. Stop it and close the program?";
    EXPECT_EQ(p.dialogs.shown, (std::vector<std::string>{loop, loop, "Do you want to save your changes?"}));
    EXPECT_EQ(readsAtClose, (std::vector<size_t>{1, 1}));
    EXPECT_EQ(p.sim.transcript().size(), 2u); // it kept polling
    EXPECT_FALSE(p.logHas("Com Timeout"));
    EXPECT_FALSE(p.logHas("the program is closing"));
    EXPECT_TRUE(p.window->isVisible());
}

// A loop's key, then Stop, clicked while a request waits: the Stop acts inside the loop as if clicked while
// it runs, after the loop key's own command and before the loop's first pass. Held during the debug key's
// first request (they come back between its requests and wait for it to return) or during a request of no
// command; the Watch's Start with nothing to read sends nothing at all. A Stop clicked during the last
// request of a key's command comes back only after it, while the loop key queued behind it sends its own
// command: it still acts after that command. The Watch's Start clicked just before that Stop comes back
// during the loop key's own command, a run of its own: refused there, it never polls ahead of the loop.
TEST(CloseDuringRequest, AStopClickedAfterALoopKeyEndsItsLoop) {
    const struct {
        const char* loop;
        const char* command;       // the key whose request waits; none: a request of no command
        std::vector<int> commands; // the values written to the command register
        size_t stopInRequest = 0;  // the Stop is clicked during this request of the command (0: its first)
        bool watchFirst = false;   // the Watch's Start is clicked just before the Stop
    } rows[] = {
        {"step", "debug", {CmdHalt, CmdStop}},
        {"run", "debug", {CmdRun, CmdHalt, CmdStop}},
        {"step", nullptr, {CmdHalt, CmdStop}},
        {"cmd_start", nullptr, {}},
        {"run", "debug", {CmdRun, CmdHalt, CmdStop}, 3},
        {"runBr", "connect", {CmdRunToBreak, CmdHalt, CmdStop}, 3},
        {"run", "debug", {CmdRun, CmdHalt, CmdStop}, 3, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.loop) + ", " + (row.command ? row.command : "request") + " " +
                     std::to_string(row.stopInRequest) + (row.watchFirst ? ", Watch" : ""));
        Program p;
        p.window->takeCloseDuringRequests(p.pump);
        p.window->show();
        p.shell.RegUpdate = 1; // the run polls
        p.sim.setMemory(ModeByteAddress, {ModeDebug});
        p.confirmSettings(p.sim.startTcp(), 0);
        ASSERT_TRUE(p.comm.CurrentDevice.Connected);
        const auto key = [&](const char* name) -> QWidget* {
            if (auto* a = p.window->findChild<QAction*>(name)) return p.window->toolbar()->widgetForAction(a);
            p.window->menuItem("mnu_Watch")->trigger();
            return p.window->findChild<frm_watch*>()->findChild<QPushButton*>(name);
        };
        QWidget* loop = key(row.loop);
        QWidget* stop = key(row.loop == std::string("cmd_start") ? "cmd_stop" : "stop");
        QWidget* watch = row.watchFirst ? key("cmd_start") : nullptr;
        ASSERT_TRUE(loop && stop && (!watch || p.window->findChild<frm_watch*>()->view().add(5)));
        p.sim.clearTranscript();
        for (size_t request = 1; request <= std::max<size_t>(row.stopInRequest, 1); ++request)
            p.sim.inject({SimFault::Delay, 600});
        QTimer::singleShot(300, [&] {
            click(loop);
            if (!row.stopInRequest) click(stop);
        });
        QTimer stopWhenAsked; // the Stop, once the simulator has the request it waits for
        QObject::connect(&stopWhenAsked, &QTimer::timeout, [&] {
            if (p.sim.transcript().size() < row.stopInRequest) return;
            stopWhenAsked.stop();
            if (watch) click(watch);
            click(stop);
        });
        if (row.stopInRequest) stopWhenAsked.start(10);
        bool rescued = false; // the loop never ended by itself
        QTimer::singleShot(20000, p.window.get(), [&] {
            rescued = p.comm.PollStop == 0;
            p.comm.PollStop = 1;
        });
        if (row.command) {
            p.window->Toolbar1_ButtonClick(row.command);
        } else {
            LeggiRegistro(p.ctx, 3, 0);
            p.pump.pausa(0.1);
        }
        EXPECT_FALSE(rescued);
        std::vector<int> commands;
        for (const Bytes& r : p.sim.transcript())
            if (r.size() >= 6 && r[1] == 6 && r[2] == 0 && r[3] == 0) commands.push_back(r[5]);
        EXPECT_EQ(commands, row.commands);
        EXPECT_EQ(p.logHas("Request refused: a run command is under way"), row.watchFirst);
    }
}

// A debug key is one run: a manual request sent and the Watch started while its first request waits come
// back between its requests and are refused there; the controller sees the key's requests alone.
TEST(CloseDuringRequest, ToolRequestsHeldDuringADebugKeyAreRefused) {
    Program p;
    p.window->takeCloseDuringRequests(p.pump);
    p.window->show();
    p.sim.setMemory(ModeByteAddress, {ModeDebug});
    p.confirmSettings(p.sim.startTcp(), 0);
    p.window->menuItem("mnu_dialoga")->trigger();
    p.window->menuItem("mnu_Watch")->trigger();
    auto* manual = p.window->findChild<frm_dialoga*>();
    auto* watch = p.window->findChild<frm_watch*>();
    ASSERT_TRUE(manual && watch && watch->view().add(5));
    p.sim.clearTranscript();
    p.sim.inject({SimFault::Delay, 500}); // the first request
    QTimer::singleShot(100, [&] {
        click(manual->findChild<QPushButton*>("cmd_send"));
        click(watch->findChild<QPushButton*>("cmd_start"));
    });
    // A Watch polling inside the key would never let it return.
    QTimer::singleShot(5000, watch, [watch] { watch->view().stop(); });
    p.window->Toolbar1_ButtonClick("debug");
    p.pump.pausa(0.3);
    const Bytes mode{3, 20, 2, 0, 0, 19, 1}, status{3, 4, 0, 0, 0, 1};
    EXPECT_EQ(p.sim.transcript(), (std::vector<Bytes>{{3, 20, 4, 0, 0, 19, 1, ModeDebug}, mode, status}));
    EXPECT_TRUE(p.logHas("Request refused: a mode change is under way"));
}
