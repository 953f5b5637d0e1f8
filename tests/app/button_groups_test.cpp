#include <gtest/gtest.h>

#include "app/menu_model.h"
#include "core/button_groups.h"
#include "core/toolbar_layout.h"
#include "shell_fixture.h"

namespace {

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
const std::string ReleaseOnly = Files + "debug release " + Views;

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
    } cases[] = {
        // clang-format off
        {"SerialNotConnected", 0, 1, 0, -1, 0xFF, {"Port Closed", "", "", "old4", "", "old6"}, ProjectOnly, true, false},
        {"EthernetNotConnected", 0, 0, 48, 0, 0, {"Not Connected", "", "", "old4", "", "old6"}, ProjectOnly, false, false},
        {"DebugRunToBreak", -1, 0, 0, -1, 0x5A,
         {"Connected", "Debug Mode", "RUN", "old4", "192.168.1.100 [10]", "JXV8410"}, DebugAll, true, false},
        {"DebugStopped", -1, 1, 9, -1, 0x00,
         {"Port Open", "Debug Mode", "Stop", "old4", "COM1 [10]", "JXV8480"}, DebugAll, true, true},
        {"ReleaseRunning", -1, 0, 0, 0, 0xFF,
         {"Connected", "Release Mode", "RUN", "old4", "192.168.1.100 [10]", "JXV8410"}, ReleaseOnly, true, false},
        {"AnalogModuleA", -1, 0, 10, -1, 0xFF,
         {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV7593"}, ProjectOnly, true, false},
        {"AnalogModuleB", -1, 0, 11, -1, 0xFF,
         {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV2569"}, ProjectOnly, true, false},
        {"NotProgrammable", -1, 0, 48, -1, 0xFF,
         {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV9787"}, ProjectOnly, false, false},
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
        for (size_t p = 1; p <= 6; ++p)
            f.shell.status.Text[p] = "old" + std::to_string(p);
        AggiornaStato(f.ctx);
        for (size_t p = 1; p <= 6; ++p)
            EXPECT_EQ(f.shell.status.Text[p], c.Panels[p - 1]) << "panel " << p;
        EXPECT_EQ(enabledKeys(f.shell.Toolbar), c.Enabled);
        EXPECT_EQ(f.shell.Toolbar.ProgramMenuShown, c.ProgramMenu);
        EXPECT_EQ(f.shell.Toolbar.DisplayMenuShown, c.DisplayMenu);
    }
}

TEST(ButtonGroups, CompilaAloneAndUnknownGroups) {
    ToolbarState t;
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

TEST(ButtonGroups, FunctionBlockKeysSurviveARefreshInReleaseMode) {
    Connected f(0, 0);
    AbilitaPulsanti(f.shell.Toolbar, "Puls_FunctionBlock", true);
    AggiornaStato(f.ctx);
    EXPECT_TRUE(f.shell.Toolbar.enabled("rung_mod"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("run"));
}

TEST(ButtonGroups, UnavailableKeysStayDisabledAndUngroupedKeysKeepTheirBuiltState) {
    Connected f(0, -1);
    f.shell.Toolbar.Unavailable = {"run", "debug"};
    AggiornaStato(f.ctx);
    EXPECT_FALSE(f.shell.Toolbar.enabled("run"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("debug"));
    EXPECT_TRUE(f.shell.Toolbar.enabled("release"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("upload"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("new_sub"));
    EXPECT_FALSE(f.shell.Toolbar.visible("rung_redo"));
}

// The shipped build hides the internal menus (the main window tests check that); this build shows them.
TEST(MenuModel, InternalBuildShowsItsMenus) {
    for (auto name : {"mnu_Export", "mnu_print", "mnu_collaudo"})
        EXPECT_TRUE(menuShown(*findMenu(name), true, true, true)) << name;
    EXPECT_FALSE(menuShown(*findMenu("mnu_SaveProj"), true, true, true));
    EXPECT_TRUE(menuShown(*findMenu("mnu_program"), false, true, false));
    EXPECT_FALSE(menuShown(*findMenu("mnu_display"), false, true, false));
}

} // namespace
