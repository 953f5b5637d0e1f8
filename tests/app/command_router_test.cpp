#include <gtest/gtest.h>

#include "app/command_router.h"
#include "app/connect_sequence.h"
#include "core/language_switch.h"
#include "core/web_page.h"
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

TEST(CommandRouter, SecondKeyWhileACommandWaitsIsRefused) {
    RouterFixture f;
    int connects = 0;
    bool nestedAccepted = true;
    f.router.add("connect", [&] {
        if (++connects == 1) nestedAccepted = f.router.press("connect"); // clicked again during the wait
        return true;
    });
    EXPECT_TRUE(f.router.press("connect"));
    EXPECT_FALSE(nestedAccepted);
    EXPECT_EQ(f.trail, std::vector<std::string>{"AggiornaStato"});
    // Once it ended, keys run again, also after a command that failed.
    f.router.add("upload", []() -> bool { throw std::runtime_error("window gone"); });
    f.router.press("upload");
    EXPECT_TRUE(f.router.press("connect"));
    EXPECT_EQ(connects, 2);
}

TEST(ConnectSequence, ChecksTheModelOnlyOnAnOpenLinkAndReadsTheModeOnlyOfAController) {
    const struct {
        uint8_t model;
        bool connects;
        std::vector<std::string> calls;
        int16_t debugMode;
    } cases[] = {
        {0, true, {"Disconnetti", "Connetti", "VerificaModello", "LeggiStatoPLC"}, -1},
        {0, false, {"Disconnetti", "Connetti"}, 0},
        {48, true, {"Disconnetti", "Connetti", "VerificaModello"}, 0},
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
}

TEST(WebPage, OnlyAWellFormedAddressOpens) {
    EXPECT_EQ(webPageUrl("127.0.0.1"), "http://127.0.0.1");
    for (const char* bad : {"", "192.168.1", "192.168.1.256", "1.2.3.4.5", "1.2.3.4 ", "a.b.c.d", "1..2.3",
                            "1.2.3.4/x", "-1.2.3.4", "1.2.3.0004", "file:///etc/passwd"})
        EXPECT_FALSE(webPageUrl(bad)) << bad;
}

} // namespace
