#include <gtest/gtest.h>

#include "app/settings_form.h"
#include "core/close_question.h"
#include "shell_fixture.h"

namespace {

TEST(SettingsForm, ModelListHasTheRowsInOrderAndSeparatorsCannotBeChosen) {
    ShellFixture f;
    auto list = settingsModelList(f.shell);
    std::vector<int> rows;
    for (const auto& e : list)
        rows.push_back(e.Row);
    EXPECT_EQ(rows, (std::vector<int>{5,  6,  17, 9,  37, -1, 13, 11, -1, 12, 39,
                                      40, 41, 42, 43, 44, 45, 47, 34, 38, 36}));
    EXPECT_EQ(list[5].Text, "-------------");
    EXPECT_EQ(list[0].Text, "JXV8410-USB");
}

TEST(SettingsForm, AnswerTimeoutRoundsHalfToEvenAndNeverDropsBelowOneSecond) {
    for (auto [ms, s] : {std::pair{1500, 2}, {2500, 2}, {3500, 4}, {1000, 1}, {2600, 3}, {500, 1}, {0, 1}})
        EXPECT_EQ(answerTimeoutFor(ms), s) << ms;
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
    form.PortText = "502";
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(d.LinkTimeout, 3000);
    EXPECT_EQ(f.comm.AnswerTimeout, 3);
}

TEST(SettingsForm, OkOverSerialLeavesAddressAndTimeoutsAndBadNumbersKeepOldValues) {
    ShellFixture f;
    f.comm.AnswerTimeout = 5;
    SettingsForm form = loadSettingsForm(f.ctx);
    form.Channel = 1;
    form.ComIndex = 0;
    setSerialChoice(form, "/dev/ttyACM0");
    form.BaudRate = "19200";
    form.TwoStopBits = true;
    form.EchoRemove = true;
    form.NodeText = "x1";
    form.ModelRow = 48;
    applySettings(f.ctx, f.recordingProcedures(true), form);
    const auto& d = f.comm.CurrentDevice;
    EXPECT_EQ((std::tuple{d.Channel, d.Port, d.SerialDevice, d.BaudRate, d.TwoStopBits, d.EchoRemove}),
              (std::tuple{uint8_t{1}, int16_t{1}, std::string("/dev/ttyACM0"), std::string("19200"),
                          int16_t{-1}, int16_t{-1}}));
    EXPECT_EQ(serialChoiceText(loadSettingsForm(f.ctx)), "/dev/ttyACM0");
    EXPECT_EQ(d.IpAddress, "192.168.1.100");
    EXPECT_EQ(d.LinkTimeout, 1000);
    EXPECT_EQ(f.comm.AnswerTimeout, 5);
    EXPECT_EQ(d.NodeAddress, 10);
    // JXV9787 is no controller: no mode read.
    EXPECT_EQ(f.calls, (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "VerificaModello",
                                                 "MappaRegistri(false)"}));
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

TEST(SettingsForm, SerialChoiceIsACOMNumberOrADevicePath) {
    SettingsForm f;
    f.ComIndex = 4;
    EXPECT_EQ(serialChoiceText(f), "COM5");
    setSerialChoice(f, "/dev/ttyUSB1");
    EXPECT_EQ(f.ComIndex, 4);
    EXPECT_EQ(serialChoiceText(f), "/dev/ttyUSB1");
    setSerialChoice(f, "COM2");
    EXPECT_EQ(f.ComIndex, 1);
    EXPECT_TRUE(f.SerialDevice.empty());
    setSerialChoice(f, "COM33"); // beyond the list: taken as a device name
    setSerialChoice(f, "  ");
    EXPECT_EQ(f.SerialDevice, "COM33");
}

TEST(SettingsForm, TcpPortsAboveThe16BitSignedRangeRoundTrip) {
    ShellFixture f;
    SettingsForm form = loadSettingsForm(f.ctx);
    for (const char* port : {"50123", "65536"}) {
        form.PortText = port;
        applySettings(f.ctx, f.recordingProcedures(false), form);
        EXPECT_EQ(static_cast<uint16_t>(f.comm.CurrentDevice.Port), 50123);
    }
    EXPECT_EQ(loadSettingsForm(f.ctx).PortText, "50123");
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

} // namespace
