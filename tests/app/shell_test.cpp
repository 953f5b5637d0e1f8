// The shell's commands and what it shows: the router, the connect sequence, the language switch, the
// toolbar groups, the status panels, the menus, the settings form and the close question.
#include <gtest/gtest.h>

#include "app/close_check.h"
#include "app/command_router.h"
#include "app/connect_sequence.h"
#include "app/run_commands.h"
#include "app/settings_form.h"
#include "core/build_flags.h"
#include "core/button_groups.h"
#include "core/close_question.h"
#include "core/language_switch.h"
#include "core/toolbar_layout.h"
#include "shell_fixture.h"

namespace {

struct RouterFixture {
    int16_t pollStop = 0;
    std::vector<std::string> trail;
    CommandRouter router{pollStop, [this] { trail.push_back("AggiornaStato"); }};
};

TEST(CommandRouter, StopsLoopsFirstAndRefreshesLast) {
    RouterFixture f;
    f.router.add("proj_comp", [&] {
        f.trail.push_back("PollStop=" + std::to_string(f.pollStop));
        return true;
    });
    f.router.press("proj_comp");
    EXPECT_EQ(f.trail, (std::vector<std::string>{"PollStop=1", "AggiornaStato"}));
}

TEST(CommandRouter, UnknownKeyOnlyRefreshesAndADeclinedOrFailingCommandSkipsTheRefresh) {
    RouterFixture f;
    bool ran = false;
    f.router.add("runBr", [&] { return ran = true; });
    f.router.press("runbr"); // keys are exact
    EXPECT_FALSE(ran);
    EXPECT_EQ(f.pollStop, 1);
    EXPECT_EQ(f.trail, std::vector<std::string>{"AggiornaStato"});
    EXPECT_FALSE(f.router.has("runbr"));
    f.router.add("runBr", [] { return false; });
    f.router.add("upload", []() -> bool { throw std::runtime_error("window gone"); });
    f.router.press("runBr");
    f.router.press("upload");
    EXPECT_EQ(f.trail.size(), 1u);
    f.router.add("connect", [] { return true; }); // keys run again after a command that failed
    EXPECT_TRUE(f.router.press("connect"));
    EXPECT_EQ(f.trail.size(), 2u);
}

TEST(CommandRouter, NestedPressEndsTheOuterLoop) {
    RouterFixture f;
    int passes = 0;
    f.router.add(
        "step",
        [&] {
            f.pollStop = 0;
            while (f.pollStop == 0) {
                if (++passes == 3) f.router.press("stop"); // the user's click, run from the loop's event pass
            }
            return true;
        },
        CommandRouter::Kind::Loop);
    f.router.add("stop", [&] {
        f.trail.push_back("stop");
        return true;
    });
    f.router.press("step");
    EXPECT_EQ(passes, 3);
    EXPECT_EQ(f.trail, (std::vector<std::string>{"stop", "AggiornaStato", "AggiornaStato"}));
}

// Keys pressed and menu items chosen while a command runs (given back between its requests) act once it has
// returned, in order.
TEST(CommandRouter, KeysPressedWhileACommandRunsActAfterItInOrder) {
    RouterFixture f;
    int connects = 0;
    bool nestedAccepted = true;
    f.router.add("connect", [&] {
        f.trail.push_back("connect");
        if (++connects == 1) { // clicked during the wait
            EXPECT_TRUE(f.router.commandRunning());
            nestedAccepted = f.router.press("rung_add_after");
            EXPECT_FALSE(f.router.whenIdle([&] { f.trail.push_back("Project > Open"); })); // a menu item
            f.router.press("rung_add_after");
            f.router.press("connect");
        }
        return true;
    });
    f.router.add("rung_add_after", [&] { return f.trail.push_back("insert"), f.pollStop = 0, true; });
    EXPECT_TRUE(f.router.press("connect"));
    EXPECT_FALSE(nestedAccepted);
    EXPECT_EQ(f.trail,
              (std::vector<std::string>{"connect", "AggiornaStato", "insert", "AggiornaStato", "Project > Open",
                                        "insert", "AggiornaStato", "connect", "AggiornaStato"}));
    EXPECT_EQ(f.pollStop, 1);               // each key stops the loops as it acts
    EXPECT_FALSE(f.router.commandRunning());
    EXPECT_TRUE(f.router.press("connect")); // once it ended, keys and menu items run at once again
    EXPECT_EQ(connects, 3);
    EXPECT_TRUE(f.router.whenIdle([] {}));
}

// Keys waiting behind a loop key act from inside its loop, at its wait, as if pressed while it runs: a Stop
// among them ends it. A loop that ends before its wait leaves them to act after it, and takes back the call.
// So does a Stop pressed while the loop key sends its own command (a click held during the command before).
// A loop key that the command before it turned off does not act in its turn; the keys behind it do.
TEST(CommandRouter, KeysWaitingBehindALoopKeyActInsideItsLoop) {
    const struct {
        bool waits;
        std::vector<std::string> trail;
        bool stopDuringLoopKey = false;
        bool loopKeyTurnedOff = false;
    } rows[] = {
        {true, {"debug", "AggiornaStato", "step", "stop", "AggiornaStato", "pass", "AggiornaStato"}},
        {false, {"debug", "AggiornaStato", "step", "AggiornaStato", "stop", "AggiornaStato"}},
        {true, {"debug", "AggiornaStato", "step", "stop", "AggiornaStato", "pass", "AggiornaStato"}, true},
        {true, {"debug", "AggiornaStato", "step is off", "stop", "AggiornaStato"}, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.waits ? "loop" : "no loop") +
                     (row.stopDuringLoopKey ? ", late stop" : "") +
                     (row.loopKeyTurnedOff ? ", turned off" : ""));
        RouterFixture f;
        std::function<void()> atWait; // what the loop's wait runs
        f.router.passWaitingTo([&](std::function<void()> call) { atWait = std::move(call); });
        bool stepOff = false;
        f.router.checkTurnWith([&](std::string_view key) {
            if (key != "step" || !stepOff) return true;
            return f.trail.push_back("step is off"), false;
        });
        f.router.add("debug", [&] {
            f.router.press("step"); // clicked during its request
            if (!row.stopDuringLoopKey) f.router.press("stop");
            stepOff = row.loopKeyTurnedOff; // it went on to leave Debug mode
            return f.trail.push_back("debug"), true;
        });
        f.router.add(
            "step",
            [&] {
                if (row.stopDuringLoopKey) {
                    EXPECT_FALSE(f.router.press("stop"));
                }
                f.trail.push_back("step");
                f.pollStop = 0;
                for (int pass = 0; row.waits && f.pollStop == 0 && pass < 3; ++pass) {
                    if (atWait) std::exchange(atWait, {})();
                    f.trail.push_back("pass");
                }
                return true;
            },
            CommandRouter::Kind::Loop);
        f.router.add("stop", [&] { return f.trail.push_back("stop"), true; });
        f.router.press("debug");
        EXPECT_EQ(f.trail, row.trail);
        EXPECT_FALSE(atWait);
    }
}

// Keys waiting for a command when the program closes go with it.
TEST(CommandRouter, KeysWaitingWhenTheProgramClosesAreDropped) {
    RouterFixture f;
    f.router.add("connect", [&] {
        f.router.press("rung_add_after");
        f.router.dropWaiting(); // the close, carried out between the command's requests
        return f.trail.push_back("connect"), true;
    });
    f.router.add("rung_add_after", [&] { return f.trail.push_back("insert"), true; });
    f.router.press("connect");
    EXPECT_EQ(f.trail, (std::vector<std::string>{"connect", "AggiornaStato"}));
}

TEST(ConnectSequence, ChecksTheModelOnlyOnAnOpenLinkAndReadsTheModeOnlyOfAController) {
    const std::vector<std::string> checked{"Disconnetti", "Connetti", "VerificaModello"};
    std::vector<std::string> modeRead = checked;
    modeRead.push_back("LeggiStatoPLC");
    const struct {
        uint8_t model;
        bool connects;
        std::vector<std::string> calls;
        int16_t debugMode;
    } cases[] = {
        {0, true, modeRead, -1},
        {0, false, {"Disconnetti", "Connetti"}, 0},
        // a controller only in the internal edition, which programs every model
        {48, true, BuildInternal ? modeRead : checked, BuildInternal},
    };
    for (const auto& c : cases) {
        ShellFixture f;
        f.comm.CurrentDevice.ModelIndex = c.model;
        f.comm.CurrentDevice.DebugMode = 0;
        ConnectSequence(f.ctx, f.recordingProcedures(c.connects, -1));
        EXPECT_EQ(f.calls, c.calls);
        EXPECT_EQ(f.comm.CurrentDevice.DebugMode, c.debugMode);
    }
}

// A model the check changes (the user accepted the device's) is saved at once; a kept one is not.
TEST(ConnectSequence, AModelAcceptedAtConnectIsSavedAtOnce) {
    for (uint8_t found : {uint8_t{48}, uint8_t{9}}) {
        ShellFixture f;
        ShellProcedures p = f.recordingProcedures(true);
        p.VerificaModello = [&] { f.comm.CurrentDevice.ModelIndex = found; };
        ConnectSequence(f.ctx, p);
        EXPECT_EQ(std::count(f.calls.begin(), f.calls.end(), "SaveSettings"), found == 48 ? 0 : 1);
    }
}

TEST(LanguageSwitch, ReloadsThenRefreshesLoadedWindowsInLoadOrder) {
    std::vector<std::string> trail;
    LanguageSwitch sw([&](uint8_t lang) { trail.push_back("CaricaRisorse " + std::to_string(lang)); });
    int a, b, c;
    sw.windowLoaded(&a, [&] { trail.push_back("a"); });
    sw.windowLoaded(&b, []() { throw std::runtime_error("no captions"); });
    sw.windowLoaded(&c, [&] { trail.push_back("c"); });
    sw.windowUnloaded(&a);
    sw.windowLoaded(&a, [&] { trail.push_back("a again"); });
    sw.CambiaLingua(0);
    EXPECT_EQ(trail, (std::vector<std::string>{"CaricaRisorse 0", "c", "a again"}));
    // A window that a SetRes unloads (closes) is not refreshed after it went.
    trail.clear();
    sw.windowLoaded(&c, [&] {
        trail.push_back("c closes a");
        sw.windowUnloaded(&a);
    });
    sw.windowLoaded(&a, [&] { trail.push_back("a"); });
    sw.CambiaLingua(1);
    EXPECT_EQ(trail, (std::vector<std::string>{"CaricaRisorse 1", "c closes a"}));
}

std::string enabledKeys(const ToolbarState& t) {
    std::string out;
    for (const auto& e : ToolbarLayout)
        if (!e.Key.empty() && t.enabled(e.Key)) out += std::string(e.Key) + " ";
    return out;
}

// A fixture connected to a model in the given mode.
struct Connected : ShellFixture {
    Connected(uint8_t model, int16_t debugMode) {
        comm.CurrentDevice.Connected = -1;
        comm.CurrentDevice.ModelIndex = model;
        comm.CurrentDevice.DebugMode = debugMode;
    }
};

const std::string Files = "proj_new proj_open proj_save connect disconnect ";
const std::string Views = "proj_comp view_log view_reg view_http ";
const std::string ProjectOnly = Files + Views;
const std::string DebugAll =
    Files +
    "download debug release run runBr pause step stop rung_add_before rung_add_after "
    "rung_move_up rung_move_down rung_copy rung_mod rung_del rung_break " +
    Views;
const std::string Release = Files + "debug release " + Views;

TEST(ButtonGroups, PanelsGroupsAndMenusFollowTheState) {
    const struct {
        const char* Name;
        int16_t Connected;
        uint8_t Channel, ModelIndex;
        int16_t DebugMode;
        uint8_t RunState;
        std::array<const char*, 6> Panels; // 1..6 after the refresh; panel 4 is never written here
        const std::string& Enabled;
        bool ProgramMenu, DisplayMenu;
        const char* Device = "";             // a typed serial device path
        bool DebuggedOnlyInternally = false; // a model the standard edition does not debug
    } cases[] = {
        // clang-format off
        {"SerialNotConnected", 0, 1, 0, -1, 0xFF,
         {"Port Closed", "", "", "old4", "", "old6"}, ProjectOnly, true, false},
        {"EthernetNotConnected", 0, 0, 48, 0, 0,
         {"Not Connected", "", "", "old4", "", "old6"}, ProjectOnly, false, false},
        {"DebugRunToBreak", -1, 0, 0, -1, 0x5A,
         {"Connected", "Debug Mode", "RUN", "old4", "192.168.1.100 [10]", "JXV8410"}, DebugAll, true, false},
        {"DebugStopped", -1, 1, 9, -1, 0x00,
         {"Port Open", "Debug Mode", "Stop", "old4", "COM1 [10]", "JXV8480"}, DebugAll, true, true},
        {"TypedDevicePath", -1, 1, 9, -1, 0x00,
         {"Port Open", "Debug Mode", "Stop", "old4", "/dev/ttyACM0 [10]", "JXV8480"}, DebugAll, true, true,
         "/dev/ttyACM0"},
        {"ReleaseRunning", -1, 0, 0, 0, 0xFF,
         {"Connected", "Release Mode", "RUN", "old4", "192.168.1.100 [10]", "JXV8410"}, Release, true, false},
        {"AnalogModuleA", -1, 0, 10, -1, 0xFF,
         {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV7593"}, ProjectOnly, true, false, "", true},
        {"AnalogModuleB", -1, 0, 11, -1, 0xFF,
         {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV2569"}, ProjectOnly, true, false, "", true},
        {"NotProgrammable", -1, 0, 48, -1, 0xFF,
         {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV9787"}, ProjectOnly, false, false, "", true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Connected f(c.ModelIndex, c.DebugMode);
        auto& d = f.comm.CurrentDevice;
        d.Connected = c.Connected;
        d.Channel = c.Channel;
        d.Port = c.Channel ? 1 : 502;
        d.RunState = c.RunState;
        d.SerialDevice = c.Device;
        for (size_t p = 1; p <= 6; ++p)
            f.shell.status.Text[p] = "old" + std::to_string(p);
        AggiornaStato(f.ctx);
        // The internal edition shows both menus always and debugs every model.
        std::array<const char*, 6> panels = c.Panels;
        const bool debugged = BuildInternal && c.DebuggedOnlyInternally;
        if (debugged) {
            panels[1] = "Debug Mode";
            panels[2] = "RUN";
        }
        for (size_t p = 1; p <= 6; ++p)
            EXPECT_EQ(f.shell.status.Text[p], panels[p - 1]) << "panel " << p;
        EXPECT_EQ(enabledKeys(f.shell.Toolbar), debugged ? DebugAll : c.Enabled);
        EXPECT_EQ(f.shell.Toolbar.ProgramMenuShown, BuildInternal || c.ProgramMenu);
        EXPECT_EQ(f.shell.Toolbar.DisplayMenuShown, BuildInternal || c.DisplayMenu);
    }
}

TEST(ButtonGroups, FunctionBlockKeysSurviveARefreshUnavailableOrUngroupedKeysKeepTheirStateCompilaGoesAlone) {
    Connected f(0, 0); // release mode: the groups enable debug, not run
    AbilitaPulsanti(f.shell.Toolbar, "Puls_FunctionBlock", true);
    f.shell.Toolbar.Unavailable = {"debug"};
    AggiornaStato(f.ctx);
    EXPECT_TRUE(f.shell.Toolbar.enabled("rung_mod"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("run"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("debug"));
    EXPECT_TRUE(f.shell.Toolbar.enabled("release"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("upload"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("new_sub"));
    EXPECT_FALSE(f.shell.Toolbar.visible("rung_redo"));
    ToolbarState& t = f.shell.Toolbar;
    AbilitaPulsanti(t, "Puls_Compila", false);
    EXPECT_FALSE(t.enabled("proj_comp"));
    EXPECT_TRUE(t.enabled("proj_new"));
    ToolbarState before = t;
    AbilitaPulsanti(t, "Puls_Nothing", true);
    EXPECT_EQ(t.Enabled, before.Enabled);
    // The last call decides a key that two groups share.
    AbilitaPulsanti(t, "Puls_FunctionBlock", true);
    EXPECT_TRUE(t.enabled("proj_comp"));
}

// A key that waited for a command and is off in its turn says why it did not act; one still on, and what
// is no toolbar key, act.
TEST(KeyInItsTurn, AnOffKeyTellsTheLogWhy) {
    const struct {
        const char* key;
        int16_t connected, debugMode;
        const char* line; // none: it acts
    } rows[] = {
        {"run", -1, 0, "Run not carried out: the controller is now in Release Mode  "},
        {"download", 0, -1, "Download not carried out: the controller is no longer connected  "},
        {"rung_mod", -1, 0, "Modify not carried out: its key was turned off while it waited  "},
        {"stop", -1, -1, nullptr},
        {"mnu_SetAsController", 0, 0, nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.key);
        Connected f(0, row.debugMode);
        f.comm.CurrentDevice.Connected = row.connected;
        AggiornaStato(f.ctx);
        EXPECT_EQ(OnInItsTurn(f.ctx, row.key), !row.line);
        EXPECT_EQ(f.shell.log.lines().empty() ? "" : f.shell.log.lines().back(), row.line ? row.line : "");
    }
}

TEST(SettingsForm, ModelListHasTheRowsInOrderAndSeparatorsCannotBeChosen) {
    ShellFixture f;
    auto list = settingsModelList(f.shell);
    std::vector<int> rows;
    for (const auto& e : list)
        rows.push_back(e.Row);
    std::vector<int> expected{5,  6,  17, 9,  37, -1, 13, 11, -1, 12, 39,
                              40, 41, 42, 43, 44, 45, 47, 34, 38, 36};
    if (BuildInternal) expected.push_back(35); // a model only the internal edition lists
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(list[5].Text, "-------------");
    EXPECT_EQ(list[0].Text, "JXV8410-USB");
}

TEST(SettingsForm, AnswerTimeoutRoundsHalfToEvenAndNeverDropsBelowOneSecond) {
    for (auto [ms, s] : {std::pair{1500, 2}, {2500, 2}, {3500, 4}, {1000, 1}, {2600, 3}, {500, 1}, {0, 1}})
        EXPECT_EQ(AnswerTimeoutFor(ms), s) << ms;
}

TEST(SettingsForm, OpeningShowsModemAndTcpTimeoutSoOkKeepsThem) {
    ShellFixture f;
    auto& d = f.comm.CurrentDevice;
    d.LinkTimeout = 3000;
    d.ModemDialUp = -1;
    d.Channel = 1;
    d.Port = 3;
    f.comm.AnswerTimeout = 3;
    SettingsForm form = loadSettingsForm(f.ctx);
    EXPECT_EQ(form.TimeoutTcpText, "3000");
    EXPECT_TRUE(form.ModemDialUp);
    EXPECT_EQ(form.ComIndex, 2);
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(d.ModemDialUp, -1);
    EXPECT_EQ(d.Port, 3);
    form.Channel = 0;
    for (const char* port : {"50123", "65536"}) { // above the 16-bit signed range, then beyond 16 bits
        form.PortText = port;
        applySettings(f.ctx, f.recordingProcedures(false), form);
    }
    EXPECT_EQ(static_cast<uint16_t>(d.Port), 50123);
    EXPECT_EQ(loadSettingsForm(f.ctx).PortText, "50123");
    EXPECT_EQ(d.LinkTimeout, 3000);
    EXPECT_EQ(f.comm.AnswerTimeout, 3);
}

// Each field OK would store is refused when it is no number in its range (or no address), naming the
// field; a refused form changes nothing and calls nothing. Serial settings do not look at the TCP fields.
TEST(SettingsForm, OkRefusesBadNumbersAndAddressesNamingTheFieldAndChangesNothing) {
    const struct {
        int channel;
        const char *node, *ip, *port, *timeout;
        std::optional<SettingsRefusal::Field> refused;
        const char* message;
    } cases[] = {
        {0, "x1", "127.0.0.1", "502", "1000", SettingsRefusal::Node,
         "Node ID: \"x1\" is not a whole number from 0 to 255"},
        {0, "256", "127.0.0.1", "502", "1000", SettingsRefusal::Node, "Node ID"},
        {0, "7", "192.168.1.256", "502", "1000", SettingsRefusal::IpAddress,
         "IP Address: \"192.168.1.256\" is no IPv4"},
        {0, "7", "10.0.1", "502", "1000", SettingsRefusal::IpAddress, "IP Address"},
        {0, "7", "", "502", "1000", SettingsRefusal::IpAddress, "IP Address"},
        {0, "7", "127.0.0.1", "0", "1000", SettingsRefusal::Port,
         "Port: \"0\" is not a whole number from 1 to 65535"},
        {0, "7", "127.0.0.1", "65536", "1000", SettingsRefusal::Port, "Port"},
        {0, "7", "127.0.0.1", "", "1000", SettingsRefusal::Port, "Port"},
        {0, "7", "127.0.0.1", "502", "50", SettingsRefusal::Timeout,
         "Timeout (mSec): \"50\" is not a whole number from 100 to 32767"},
        {0, "7", "127.0.0.1", "502", "1e3", SettingsRefusal::Timeout, "Timeout"},
        {1, "7", "10.0.1", "x", "x", std::nullopt, ""},
        {0, " 7 ", "plc-1.local", "50123", "1500", std::nullopt, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.node) + " " + c.ip + " " + c.port + " " + c.timeout);
        ShellFixture f;
        SettingsForm form = loadSettingsForm(f.ctx);
        form.Channel = c.channel;
        form.NodeText = c.node;
        form.IpAddress = c.ip;
        form.PortText = c.port;
        form.TimeoutTcpText = c.timeout;
        const DeviceRecord before = f.comm.CurrentDevice;
        const auto refusal = refuseSettings(form);
        EXPECT_EQ(refusal ? std::optional(refusal->field) : std::nullopt, c.refused);
        if (refusal) {
            EXPECT_TRUE(refusal->message.starts_with(c.message)) << refusal->message;
        }
        EXPECT_EQ(applySettings(f.ctx, f.recordingProcedures(false), form), !c.refused);
        if (!c.refused) continue;
        EXPECT_TRUE(f.calls.empty());
        EXPECT_EQ((std::tuple{f.comm.CurrentDevice.NodeAddress, f.comm.CurrentDevice.IpAddress,
                              f.comm.CurrentDevice.Port, f.comm.CurrentDevice.LinkTimeout}),
                  (std::tuple{before.NodeAddress, before.IpAddress, before.Port, before.LinkTimeout}));
    }
}

// A serial device's form offers the Modbus TCP port for a switch to Ethernet.
TEST(SettingsForm, SwitchingFromSerialToEthernetOffersPort502) {
    ShellFixture f;
    f.comm.CurrentDevice.Channel = 1;
    f.comm.CurrentDevice.Port = 3;
    SettingsForm form = loadSettingsForm(f.ctx);
    EXPECT_EQ(form.PortText, "502");
    form.Channel = 0;
    form.IpAddress = "127.0.0.1";
    EXPECT_TRUE(applySettings(f.ctx, f.recordingProcedures(false), form));
    EXPECT_EQ(f.comm.CurrentDevice.Port, 502);
}

TEST(SettingsForm, OkWhilePollingStopsTheLoopAndReconnectsWithoutWaitingForIt) {
    ShellFixture f;
    // OK runs inside the loop's wait: the loop can only end after this handler returns.
    f.comm.PollStop = 0;
    f.comm.PollBusy = 1;
    int eventPasses = 0;
    f.pump.onEvents = [&] { ++eventPasses; };
    ShellProcedures p = f.recordingProcedures(true);
    p.Disconnetti = [&] { f.calls.push_back(f.comm.PollStop ? "Disconnetti" : "Disconnetti refused"); };
    applySettings(f.ctx, p, loadSettingsForm(f.ctx));
    EXPECT_EQ(eventPasses, 0);
    ASSERT_GE(f.calls.size(), 3u);
    EXPECT_EQ(f.calls[1], "Disconnetti");
    EXPECT_EQ(f.calls[2], "Connetti");
}

TEST(SettingsForm, SerialChoiceIsACOMNumberOrADevicePathAndOkStoresTheDevice) {
    ShellFixture f;
    SettingsForm form = loadSettingsForm(f.ctx);
    form.Channel = 1;
    form.ComIndex = 4;
    EXPECT_EQ(serialChoiceText(form), "COM5");
    setSerialChoice(form, "COM2");
    EXPECT_EQ(form.ComIndex, 1);
    EXPECT_TRUE(form.SerialDevice.empty());
    setSerialChoice(form, "COM33"); // beyond the list: taken as a device name
    setSerialChoice(form, "  ");
    EXPECT_EQ(form.SerialDevice, "COM33");
    setSerialChoice(form, "/dev/ttyACM0");
    EXPECT_EQ(form.ComIndex, 1);
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(f.comm.CurrentDevice.SerialDevice, "/dev/ttyACM0");
    EXPECT_EQ(serialChoiceText(loadSettingsForm(f.ctx)), "/dev/ttyACM0");
}

TEST(CloseQuestion, UnmodifiedClosesWithoutAskingYesSavesNoDiscardsCancelStays) {
    const struct {
        int16_t modified;
        MsgChoice answer;
        bool saveWorks;
        bool closes;
        int saves;
    } cases[] = {
        {0, MsgChoice::Yes, true, true, 0},    {-1, MsgChoice::Yes, true, true, 1},
        {-1, MsgChoice::Yes, false, false, 1}, // file dialog cancelled or writing failed
        {-1, MsgChoice::No, true, true, 0},    {-1, MsgChoice::Cancel, true, false, 0},
    };
    for (const auto& c : cases) {
        ShellFixture f;
        f.project.ProjectModified = c.modified;
        f.dialogs.choices = {c.answer};
        int saves = 0;
        auto save = [&](bool ask) {
            EXPECT_TRUE(ask);
            ++saves;
            return c.saveWorks;
        };
        EXPECT_EQ(OfferToSave(f.ctx, save, "Melqo"), c.closes);
        EXPECT_EQ(saves, c.saves);
        ASSERT_EQ(f.dialogs.boxes.size(), c.modified ? 1u : 0u);
        if (!c.modified) continue;
        EXPECT_EQ(f.dialogs.boxes[0].text, "Do you want to save your changes?");
        EXPECT_EQ(f.dialogs.boxes[0].buttons, MsgButtons::YesNoCancel);
    }
}

// Closing the program: a running transfer refuses; a polling loop asks; then the windows' own questions,
// then the project's. The first refusal keeps the program open, and the loop running.
TEST(CloseCheck, ATransferRefusesALoopAsksThenTheWindowsAndTheProjectAsk) {
    using enum InputHold::WaitClose;
    const std::vector<std::string> every{"A polling loop", "window", "Do you"};
    const struct {
        bool transfer, loop, windowsClose;
        std::vector<MsgChoice> answers;
        bool closes;
        int16_t pollStop;
        std::vector<std::string> asked;  // the first words of each box
        InputHold::WaitClose duringWait; // a close asked while a request waits
    } cases[] = {
        {true, true, true, {}, false, 0, {"A transfer"}, Refused},
        {false, true, true, {MsgChoice::No}, false, 0, {"A polling loop"}, AfterWait},
        {false, true, false, {MsgChoice::Yes}, false, 0, {"A polling loop", "window"}, AfterWait},
        {false, true, true, {MsgChoice::Yes, MsgChoice::Cancel}, false, 0, every, AfterWait},
        {false, true, true, {MsgChoice::Yes, MsgChoice::No}, true, 1, every, AfterWait},
        {false, false, true, {MsgChoice::No}, true, 0, {"window", "Do you"}, EndsWait},
    };
    for (const auto& c : cases) {
        ShellFixture f;
        f.comm.PollBusy = c.loop ? 1 : 0;
        f.comm.PollStop = 0;
        f.project.ProjectModified = -1;
        f.dialogs.choices.assign(c.answers.begin(), c.answers.end());
        CloseChecks checks;
        checks.transferRunning = c.transfer;
        checks.windowsMayClose = [&] {
            f.dialogs.shown.push_back("window");
            return c.windowsClose;
        };
        checks.tellWithoutWaiting = [&](const std::string& text) { f.dialogs.shown.push_back(text); };
        checks.saveProject = [](bool) { return true; };
        EXPECT_EQ(MayCloseProgram(f.ctx, checks, "Melqo"), c.closes);
        EXPECT_EQ(f.comm.PollStop, c.pollStop);
        ASSERT_EQ(f.dialogs.shown.size(), c.asked.size());
        for (size_t i = 0; i < c.asked.size(); ++i)
            EXPECT_TRUE(f.dialogs.shown[i].starts_with(c.asked[i])) << f.dialogs.shown[i];
        f.comm.PollStop = 0;
        EXPECT_EQ(CloseDuringWait(f.ctx, checks), c.duringWait);
    }
}

} // namespace
