#include <gtest/gtest.h>

#include "app/close_question.h"
#include "app/settings_form.h"
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
    EXPECT_EQ(answerTimeoutFor(1500), 2);
    EXPECT_EQ(answerTimeoutFor(2500), 2);
    EXPECT_EQ(answerTimeoutFor(3500), 4);
    EXPECT_EQ(answerTimeoutFor(1000), 1);
    EXPECT_EQ(answerTimeoutFor(2600), 3);
    EXPECT_EQ(answerTimeoutFor(500), 1);
    EXPECT_EQ(answerTimeoutFor(0), 1);
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
    EXPECT_EQ(d.LinkTimeout, 3000);
    EXPECT_EQ(d.Port, 3);
    form.Channel = 0;
    form.PortText = "502";
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(d.LinkTimeout, 3000);
    EXPECT_EQ(f.comm.AnswerTimeout, 3);
}

TEST(SettingsForm, OkOverEthernetStoresSavesReconnectsAndChecksTheModel) {
    ShellFixture f;
    SettingsForm form = loadSettingsForm(f.ctx);
    form.IpAddress = "127.0.0.1";
    form.PortText = "1502";
    form.TimeoutTcpText = "2500";
    form.NodeText = "7";
    form.ModelRow = 5;
    form.AnimateSeconds = 2;
    form.RegUpdate = true;
    applySettings(f.ctx, f.recordingProcedures(true, -1), form);
    const auto& d = f.comm.CurrentDevice;
    EXPECT_EQ(d.IpAddress, "127.0.0.1");
    EXPECT_EQ(d.Port, 1502);
    EXPECT_EQ(d.LinkTimeout, 2500);
    EXPECT_EQ(f.comm.AnswerTimeout, 2);
    EXPECT_EQ(d.NodeAddress, 7);
    EXPECT_EQ(d.ModelIndex, 5);
    EXPECT_EQ(f.shell.AnimateTime, 2000);
    EXPECT_EQ(f.shell.RegUpdate, -1);
    EXPECT_EQ(d.DebugMode, -1);
    EXPECT_EQ(f.calls, (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "VerificaModello",
                                                 "LeggiStatoPLC", "MappaRegistri(false)"}));
}

TEST(SettingsForm, OkOverSerialLeavesAddressAndTimeoutsAndBadNumbersKeepOldValues) {
    ShellFixture f;
    f.comm.AnswerTimeout = 5;
    SettingsForm form = loadSettingsForm(f.ctx);
    form.Channel = 1;
    form.ComIndex = 0;
    form.BaudRate = "19200";
    form.TwoStopBits = true;
    form.EchoRemove = true;
    form.NodeText = "x1";
    form.ModelRow = 48;
    applySettings(f.ctx, f.recordingProcedures(true), form);
    const auto& d = f.comm.CurrentDevice;
    EXPECT_EQ(d.Channel, 1);
    EXPECT_EQ(d.Port, 1);
    EXPECT_EQ(d.BaudRate, "19200");
    EXPECT_EQ(d.TwoStopBits, -1);
    EXPECT_EQ(d.EchoRemove, -1);
    EXPECT_EQ(d.IpAddress, "192.168.1.100");
    EXPECT_EQ(d.LinkTimeout, 1000);
    EXPECT_EQ(f.comm.AnswerTimeout, 5);
    EXPECT_EQ(d.NodeAddress, 10);
    // JXV9787 is no controller: no mode read.
    EXPECT_EQ(f.calls, (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "VerificaModello",
                                                 "MappaRegistri(false)"}));
}

TEST(SettingsForm, FailedConnectNeitherIdentifiesNorReadsTheMode) {
    ShellFixture f;
    SettingsForm form = loadSettingsForm(f.ctx);
    form.ModelRow = 5;
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(f.calls,
              (std::vector<std::string>{"SaveSettings", "Disconnetti", "Connetti", "MappaRegistri(false)"}));
}

TEST(SettingsForm, OkWhilePollingStopsTheLoopBeforeReconnecting) {
    ShellFixture f;
    f.comm.PollStop = 0;
    f.comm.PollBusy = 1;
    // The polling loop sees PollStop on its next event pass and ends.
    f.pump.onEvents = [&] {
        if (f.comm.PollStop) {
            f.calls.push_back("loop ends");
            f.comm.PollBusy = 0;
        }
    };
    applySettings(f.ctx, f.recordingProcedures(true), loadSettingsForm(f.ctx));
    ASSERT_GE(f.calls.size(), 3u);
    EXPECT_EQ(f.calls[0], "SaveSettings");
    EXPECT_EQ(f.calls[1], "loop ends");
    EXPECT_EQ(f.calls[2], "Disconnetti");
}

TEST(CloseQuestion, UnmodifiedClosesWithoutAsking) {
    ShellFixture f;
    EXPECT_TRUE(ConfirmClose(f.ctx, {}, "Melqo"));
    EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(CloseQuestion, CancelClosesWithoutSaving) {
    ShellFixture f;
    f.project.ProjectModified = -1;
    f.dialogs.choices = {MsgChoice::Cancel};
    ShellProcedures p;
    bool saved = false;
    p.SalvaProgetto = [&](bool) { return saved = true; };
    EXPECT_TRUE(ConfirmClose(f.ctx, p, "Melqo"));
    EXPECT_FALSE(saved);
    EXPECT_EQ(f.dialogs.shown, std::vector<std::string>{"Do you want to save your changes?"});
}

TEST(CloseQuestion, OkSavesAndCloses) {
    ShellFixture f;
    f.project.ProjectModified = -1;
    ShellProcedures p;
    bool askName = false;
    p.SalvaProgetto = [&](bool ask) {
        askName = ask;
        f.project.ProjectModified = 0;
        return true;
    };
    EXPECT_TRUE(ConfirmClose(f.ctx, p, "Melqo"));
    EXPECT_TRUE(askName);
}

TEST(CloseQuestion, CancelledOrFailedSaveKeepsTheWindowOpen) {
    ShellFixture f;
    f.project.ProjectModified = -1;
    ShellProcedures p;
    p.SalvaProgetto = [](bool) { return false; }; // the user cancelled the file dialog, or writing failed
    EXPECT_FALSE(ConfirmClose(f.ctx, p, "Melqo"));
    EXPECT_EQ(f.project.ProjectModified, -1);
}

} // namespace

namespace {

TEST(SettingsForm, SerialChoiceIsACOMNumberOrADevicePath) {
    SettingsForm f;
    f.ComIndex = 4;
    EXPECT_EQ(serialChoiceText(f), "COM5");
    setSerialChoice(f, "/dev/ttyUSB1");
    EXPECT_EQ(f.SerialDevice, "/dev/ttyUSB1");
    EXPECT_EQ(f.ComIndex, 4);
    EXPECT_EQ(serialChoiceText(f), "/dev/ttyUSB1");
    setSerialChoice(f, "COM2");
    EXPECT_EQ(f.ComIndex, 1);
    EXPECT_TRUE(f.SerialDevice.empty());
    setSerialChoice(f, "COM33"); // beyond the list: taken as a device name
    EXPECT_EQ(f.SerialDevice, "COM33");
    setSerialChoice(f, "  ");
    EXPECT_EQ(f.SerialDevice, "COM33");
}

TEST(SettingsForm, TcpPortsAboveThe16BitSignedRangeRoundTrip) {
    ShellFixture f;
    SettingsForm form = loadSettingsForm(f.ctx);
    form.PortText = "50123";
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(static_cast<uint16_t>(f.comm.CurrentDevice.Port), 50123);
    EXPECT_EQ(loadSettingsForm(f.ctx).PortText, "50123");
    form.PortText = "65536";
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(static_cast<uint16_t>(f.comm.CurrentDevice.Port), 50123);
}

TEST(SettingsForm, OkOverSerialStoresTheDevicePath) {
    ShellFixture f;
    SettingsForm form = loadSettingsForm(f.ctx);
    form.Channel = 1;
    setSerialChoice(form, "/dev/ttyACM0");
    applySettings(f.ctx, f.recordingProcedures(false), form);
    EXPECT_EQ(f.comm.CurrentDevice.SerialDevice, "/dev/ttyACM0");
    form = loadSettingsForm(f.ctx);
    EXPECT_EQ(serialChoiceText(form), "/dev/ttyACM0");
}

} // namespace
