#include <gtest/gtest.h>

#include "app/button_groups.h"
#include "app/toolbar_layout.h"
#include "shell_fixture.h"

namespace {

std::string enabledKeys(const ToolbarState& t) {
    std::string out;
    for (const auto& e : ToolbarLayout)
        if (!e.Key.empty() && t.enabled(e.Key)) out += std::string(e.Key) + " ";
    return out;
}

constexpr const char* Always = "connect disconnect ";
constexpr const char* Views = "view_log view_reg view_http ";

struct StatusCase {
    const char* Name;
    int16_t Connected;
    uint8_t Channel;
    uint8_t ModelIndex;
    int16_t DebugMode;
    uint8_t RunState;
    std::array<const char*, 6> Panels; // 1..6 after the refresh; panel 4 is never written here
    std::string Enabled;
    bool ProgramMenu, DisplayMenu;
};

void PrintTo(const StatusCase& c, std::ostream* os) {
    *os << c.Name;
}

class StatusTable : public ::testing::TestWithParam<StatusCase> {};

TEST_P(StatusTable, PanelsGroupsAndMenusFollowTheState) {
    const StatusCase& c = GetParam();
    ShellFixture f;
    auto& d = f.comm.CurrentDevice;
    d.Connected = c.Connected;
    d.Channel = c.Channel;
    d.Port = c.Channel ? 1 : 502;
    d.ModelIndex = c.ModelIndex;
    d.DebugMode = c.DebugMode;
    d.RunState = c.RunState;
    for (int p = 1; p <= 6; ++p)
        f.shell.status.Text[static_cast<size_t>(p)] = "old" + std::to_string(p);

    AggiornaStato(f.ctx);

    for (int p = 1; p <= 6; ++p)
        EXPECT_EQ(f.shell.status.Text[static_cast<size_t>(p)], c.Panels[static_cast<size_t>(p - 1)])
            << "panel " << p;
    EXPECT_EQ(enabledKeys(f.shell.Toolbar), c.Enabled);
    EXPECT_EQ(f.shell.Toolbar.ProgramMenuShown, c.ProgramMenu);
    EXPECT_EQ(f.shell.Toolbar.DisplayMenuShown, c.DisplayMenu);
}

// clang-format off
const std::string ProjectOnly = std::string("proj_new proj_open proj_save ") + Always + "proj_comp " + Views;
const std::string DebugAll = std::string("proj_new proj_open proj_save ") + Always +
                             "download debug release run runBr pause step stop rung_add_before rung_add_after "
                             "rung_move_up rung_move_down rung_copy rung_mod rung_del rung_break proj_comp " +
                             Views;
const std::string ReleaseOnly = std::string("proj_new proj_open proj_save ") + Always + "debug release proj_comp " + Views;

INSTANTIATE_TEST_SUITE_P(
    States, StatusTable,
    ::testing::Values(
        StatusCase{"SerialNotConnected", 0, 1, 0, -1, 0xFF, {"Port Closed", "", "", "old4", "", "old6"}, ProjectOnly, true, false},
        StatusCase{"EthernetNotConnected", 0, 0, 48, 0, 0, {"Not Connected", "", "", "old4", "", "old6"}, ProjectOnly, false, false},
        StatusCase{"DebugRunToBreak", -1, 0, 0, -1, 0x5A,
                   {"Connected", "Debug Mode", "RUN", "old4", "192.168.1.100 [10]", "JXV8410"}, DebugAll, true, false},
        StatusCase{"DebugStopped", -1, 1, 9, -1, 0x00,
                   {"Port Open", "Debug Mode", "Stop", "old4", "COM1 [10]", "JXV8480"}, DebugAll, true, true},
        StatusCase{"ReleaseRunning", -1, 0, 0, 0, 0xFF,
                   {"Connected", "Release Mode", "RUN", "old4", "192.168.1.100 [10]", "JXV8410"}, ReleaseOnly, true, false},
        StatusCase{"AnalogModuleA", -1, 0, 10, -1, 0xFF,
                   {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV7593"}, ProjectOnly, true, false},
        StatusCase{"AnalogModuleB", -1, 0, 11, -1, 0xFF,
                   {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV2569"}, ProjectOnly, true, false},
        StatusCase{"NotProgrammable", -1, 0, 48, -1, 0xFF,
                   {"Connected", "old2", "old3", "old4", "192.168.1.100 [10]", "JXV9787"}, ProjectOnly, false, false}),
    [](const auto& info) { return std::string(info.param.Name); });
// clang-format on

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
    ShellFixture f;
    AbilitaPulsanti(f.shell.Toolbar, "Puls_FunctionBlock", true);
    f.comm.CurrentDevice.Connected = -1;
    f.comm.CurrentDevice.ModelIndex = 0;
    f.comm.CurrentDevice.DebugMode = 0;
    AggiornaStato(f.ctx);
    EXPECT_TRUE(f.shell.Toolbar.enabled("rung_mod"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("run"));
}

TEST(ButtonGroups, UnavailableKeysStayDisabledAndUngroupedKeysKeepTheirBuiltState) {
    ShellFixture f;
    f.shell.Toolbar.Unavailable = {"run", "debug"};
    f.comm.CurrentDevice.Connected = -1;
    f.comm.CurrentDevice.ModelIndex = 0;
    f.comm.CurrentDevice.DebugMode = -1;
    AggiornaStato(f.ctx);
    EXPECT_FALSE(f.shell.Toolbar.enabled("run"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("debug"));
    EXPECT_TRUE(f.shell.Toolbar.enabled("release"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("upload"));
    EXPECT_FALSE(f.shell.Toolbar.enabled("new_sub"));
    EXPECT_FALSE(f.shell.Toolbar.visible("rung_redo"));
}

} // namespace
