// The main window under a real X server (Xvfb) and window manager (openbox): keys and clicks made while a
// request waits come in whole after it, and the window manager's close reaches the program while a
// request waits for a silent device.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "../ui/program_fixture.h"
#include "comm/device_procedures.h"
#include "platform/qt_event_pump.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Starts a program found on PATH, its output thrown away; -1 when it cannot start.
pid_t spawn(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int failed = posix_spawnp(&pid, argv[0], &quiet, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&quiet);
    return failed ? -1 : pid;
}

bool succeeds(pid_t pid) {
    int status = 1;
    return pid > 0 && waitpid(pid, &status, 0) == pid && status == 0;
}

// An X server on a free display with a window manager on it; both end with this object.
struct XSession {
    pid_t server = -1;
    pid_t manager = -1;
    QTemporaryDir dir;

    bool start() {
        int fds[2];
        if (pipe(fds) != 0) return false;
        // The server picks a free display and writes its number to the pipe once it takes clients.
        server = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", "1366x768x24",
                        "-nolisten", "tcp"});
        close(fds[1]);
        std::string number;
        pollfd ready{fds[0], POLLIN, 0};
        for (char c = 0; poll(&ready, 1, 60000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n';)
            number += c;
        close(fds[0]);
        if (number.empty()) return false;
        setenv("DISPLAY", (":" + number).c_str(), 1);
        // The window manager names itself on the screen early in its start, and the events that reach it
        // before it enters its event loop wait there until another one comes: a window shown meanwhile is
        // neither managed nor mapped. Its startup command runs just before that loop, after its last read.
        const QString started = dir.filePath("started");
        manager = spawn({"openbox", "--startup", "touch '" + started.toStdString() + "'"});
        for (const auto until = Clock::now() + std::chrono::seconds(60); Clock::now() < until; usleep(50000))
            if (QFileInfo::exists(started)) return true;
        return false;
    }
    ~XSession() {
        for (pid_t pid : {manager, server}) {
            if (pid <= 0) continue;
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
};

// What the window system hands over, counted before the hold takes it: installed after the hold, it sees
// each event first. The counts are read on the simulator's thread too.
struct Seen : QObject {
    std::atomic<int> closes = 0, keys = 0, releases = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        closes += e->spontaneous() && e->type() == QEvent::Close;
        keys += e->spontaneous() && e->type() == QEvent::KeyPress;
        releases += e->spontaneous() && e->type() == QEvent::MouseButtonRelease;
        return false;
    }
};

const char* missingTool() {
    for (const char* tool : {"Xvfb", "openbox", "wmctrl", "xdotool"})
        if (QStandardPaths::findExecutable(tool).isEmpty()) return tool;
    return nullptr;
}

// One X server and application for all the cases: the toolkit's X connection is made once a process.
class WindowSystem : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (missingTool()) return;
        x_ = new XSession;
        if (!x_->start()) return;
        qputenv("QT_QPA_PLATFORM", "xcb");
        app_ = new QApplication(argc_, argv_);
    }
    static void TearDownTestSuite() {
        delete app_;
        delete x_;
    }
    void SetUp() override {
        if (const char* tool = missingTool())
            GTEST_SKIP() << tool << " is not installed (scripts/deps.sh installs it)";
        ASSERT_TRUE(app_);
    }

  private:
    static inline XSession* x_ = nullptr;
    static inline QApplication* app_ = nullptr;
    static inline int argc_ = 1;
    static inline char name_[] = "test_app_window_system";
    static inline char* argv_[] = {name_, nullptr};
};

} // namespace

TEST_F(WindowSystem, TheWindowManagersCloseEndsARequestsWaitAtOnce) {
    Seen seen;
    // While set, the device answers only once the keys and clicks below have come (or after 30 s).
    std::atomic<bool> answerAfterInput = false;
    Program p; // its simulator's thread ends before the two above
    p.sim.setResponder([&](const Bytes& request) {
        for (const auto until = Clock::now() + std::chrono::seconds(30);
             answerAfterInput && (seen.keys < 10 || seen.releases < 3) && Clock::now() < until;)
            usleep(10000);
        answerAfterInput = false;
        return p.sim.execute(request);
    });
    p.window->takeCloseDuringRequests(p.pump);
    p.window->show();
    ASSERT_TRUE(p.pump.waitUntil([&] { return p.window->windowHandle()->isExposed(); }, 60000, false));
    p.confirmSettings(p.sim.startTcp(), 0);
    ASSERT_TRUE(p.comm.CurrentDevice.Connected);

    // Keys and clicks made during a request's wait (a double click among them) all arrive, once and in
    // order, at the first pass of the event loop after it. The wait lasts until they have come, however
    // long the window manager takes to pass the clicks on.
    QLineEdit box;
    QPushButton button("Count");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    box.move(50, 50);
    button.move(50, 300);
    box.show();
    button.show();
    box.activateWindow();
    ASSERT_TRUE(p.pump.waitUntil([&] { return box.isActiveWindow() && button.windowHandle()->isExposed(); },
                                 60000, false));
    const QPoint at = button.mapToGlobal(button.rect().center());
    p.comm.CurrentDevice.LinkTimeout = 32000; // past the device's 30 s
    answerAfterInput = true;
    bool typed = false;
    pid_t clicker = -1;
    QTimer::singleShot(300, [&] {
        typed = succeeds(spawn({"xdotool", "type", "--delay", "20", "abcdefghij"}));
        clicker = spawn({"xdotool", "mousemove", std::to_string(at.x()), std::to_string(at.y()), "click",
                         "--repeat", "3", "--delay", "120", "1"});
    });
    QCoreApplication::instance()->installEventFilter(&seen);
    LeggiRegistro(p.ctx, 3, 0);
    QCoreApplication::instance()->removeEventFilter(&seen);
    const auto duringWait = std::tuple(box.text(), clicks);
    p.pump.processEvents();
    EXPECT_TRUE(typed && succeeds(clicker));
    EXPECT_EQ(duringWait, std::tuple(QString(), 0));
    EXPECT_EQ(std::tuple(box.text(), clicks), std::tuple(QString("abcdefghij"), 3));

    p.comm.CurrentDevice.LinkTimeout = 30000;
    p.sim.inject({SimFault::Silence});

    pid_t closer = -1;
    QTimer::singleShot(300, [&] {
        closer = spawn({"wmctrl", "-i", "-c", std::to_string(p.window->winId())});
    });
    const auto start = Clock::now();
    LeggiRegistro(p.ctx, 3, 0);
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(15)); // of a 30 s time-out
    EXPECT_EQ(p.panel(4), "Com TimeOut");
    EXPECT_TRUE(p.logHas("Request ended without its answer: the program is closing"));
    EXPECT_TRUE(p.pump.waitUntil([&] { return !p.window->isVisible(); }, 60000, false));
    EXPECT_TRUE(succeeds(closer));
}

// A click held behind a close whose question is then answered No with the mouse acts once: the real click
// on the box must not move the held one off the key it was aimed at.
TEST_F(WindowSystem, AClickHeldBehindACloseDeclinedWithTheMouseActsOnce) {
    QtEventPump pump;
    QWidget window;
    window.resize(400, 300);
    QPushButton save("Save", &window);
    int saves = 0, asked = 0;
    QObject::connect(&save, &QPushButton::clicked, [&] { ++saves; });
    QTimer answer; // clicks No once the box is on the screen
    answer.setInterval(100);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->windowHandle()->isExposed()) return;
        answer.stop();
        const QPoint no =
            box->button(QMessageBox::No)->mapToGlobal(box->button(QMessageBox::No)->rect().center());
        succeeds(
            spawn({"xdotool", "mousemove", std::to_string(no.x()), std::to_string(no.y()), "click", "1"}));
    });
    pump.inputHold().takeCloseOf(
        &window, [] { return InputHold::WaitClose::AfterWait; },
        [&] {
            ++asked;
            answer.start();
            return QMessageBox::question(&window, "Close", "Close?") == QMessageBox::Yes && window.close();
        });
    window.show();
    ASSERT_TRUE(pump.waitUntil([&] { return window.windowHandle()->isExposed(); }, 60000, false));
    const QPoint at = save.mapToGlobal(save.rect().center());
    bool closed = false, clicked = false;
    QTimer::singleShot(300, [&] {
        closed = succeeds(spawn({"wmctrl", "-i", "-c", std::to_string(window.winId())}));
        clicked = succeeds(
            spawn({"xdotool", "mousemove", std::to_string(at.x()), std::to_string(at.y()), "click", "1"}));
    });
    Seen seen;
    QCoreApplication::instance()->installEventFilter(&seen);
    // A request's wait for a silent device, until both have come.
    pump.waitUntil([&] { return seen.closes > 0 && seen.releases > 0; }, 60000, true);
    QCoreApplication::instance()->removeEventFilter(&seen);
    EXPECT_TRUE(closed && clicked);
    EXPECT_EQ(std::tuple(asked, saves), std::tuple(0, 0));
    pump.waitUntil([&] { return saves > 0; }, 60000, false);
    pump.processEvents();
    EXPECT_EQ(std::tuple(asked, saves, window.isVisible()), std::tuple(1, 1, true));
}
