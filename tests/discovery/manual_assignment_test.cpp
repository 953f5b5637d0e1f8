// "Search by MAC": typed text is checked and reaches the tools only as canonical arguments.
#include <gtest/gtest.h>

#include "app_context_fixture.h"
#include "discovery/manual_assignment.h"
#include "platform/program_runner.h"

namespace {

struct FakeRunner : ProgramRunner {
    std::vector<std::vector<std::string>> calls; // program then its arguments
    int neighExit = 0;
    bool hasPing = true;
    ProgramRun run(const std::string& program, const std::vector<std::string>& args, int) override {
        calls.push_back({program});
        calls.back().insert(calls.back().end(), args.begin(), args.end());
        if (args[0] == "-o") return {true, 0, "127.0.0.7 via 127.0.0.1 dev enp3s0 src 127.0.0.2 uid 0 \n"};
        return {true, neighExit, neighExit ? "RTNETLINK answers: Operation not permitted\n" : ""};
    }
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
        run(program, args, 0);
        return true;
    }
    bool exists(const std::string& program) override { return program != "ping" || hasPing; }
};

struct Manual : ::testing::Test {
    std::function<void(const std::string&, uint16_t)> record(std::string what) {
        return [this, what](const std::string& h, uint16_t p) {
            actions.push_back(what + h + ":" + std::to_string(p));
        };
    }
    ManualServices services() {
        return {runner, record("probe "), record("console "),
                [this](const std::string& url) { actions.push_back(url); }};
    }
    void click(ManualDeviceType type, std::string lastMac = "5E") {
        cmd_Manual_Click(f.ctx, {{"2", "1a", "2B", "3C", "4D", lastMac}, {"127", "0", "0", "007"}, type},
                         services());
    }
    AppContextFixture f;
    FakeRunner runner;
    std::vector<std::string> actions;
};

TEST_F(Manual, TypedTextBecomesCanonicalOrIsRefused) {
    EXPECT_EQ(canonicalMac({"2", "1a", "2B", "3c", "4D", "5e"}), "02:1A:2B:3C:4D:5E");
    EXPECT_EQ(canonicalIpv4({"127", "000", "0", "010"}), "127.0.0.10");
    for (const char* last : {"", "5G", "123", "5;rm"})
        EXPECT_FALSE(canonicalMac({"02", "1A", "2B", "3C", "4D", last})) << last;
    for (const char* last : {"256", "-1", " 7", "7 && x"})
        EXPECT_FALSE(canonicalIpv4({"127", "0", "0", last})) << last;
    click(ManualDeviceType::Gateway, "ZZ");
    EXPECT_TRUE(runner.calls.empty());
    EXPECT_TRUE(actions.empty());
    EXPECT_EQ(f.dialogs.shown.size(), 1u);
}

TEST_F(Manual, GatewayGetsTheEntryAFirstPacketAndItsConsole) {
    click(ManualDeviceType::Gateway);
    ASSERT_EQ(runner.calls.size(), 2u);
    EXPECT_EQ(runner.calls[1],
              (std::vector<std::string>{"ip", "neigh", "replace", "127.0.0.7", "lladdr", "02:1A:2B:3C:4D:5E",
                                        "dev", "enp3s0", "nud", "permanent"}));
    EXPECT_EQ(actions, (std::vector<std::string>{"probe 127.0.0.7:1", "console 127.0.0.7:9999"}));
    EXPECT_EQ(f.pump.paused, 2);
}

TEST_F(Manual, ControllerIsPingedAndItsPageOpenedOrTheRefusalSaysWhatToRun) {
    runner.hasPing = false;
    click(ManualDeviceType::Controller);
    EXPECT_EQ(actions, std::vector<std::string>{"http://127.0.0.7"});
    EXPECT_NE(f.shell.log.lines().back().find("ping"), std::string::npos);
    runner.neighExit = 2;
    actions.clear();
    click(ManualDeviceType::Controller);
    EXPECT_TRUE(actions.empty());
    const std::string told = "sudo ip neigh replace 127.0.0.7 lladdr 02:1A:2B:3C:4D:5E dev enp3s0";
    EXPECT_NE(f.dialogs.shown.back().find(told), std::string::npos);
}

} // namespace
