#include <gtest/gtest.h>

#include <filesystem>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

#include "comm/device_procedures.h"
#include "program/ui/frm_download.h"
#include "program_fixture.h"

namespace {

TEST(EndToEnd, SettingsOkAndTheConnectKeyConnectCheckTheModelAndReadTheMode) {
    Program p;
    p.sim.setMemory(ModeByteAddress, {ModeDebug});
    uint16_t port = p.sim.startTcp();
    EXPECT_EQ(p.panel(1), "Not Connected");
    EXPECT_FALSE(p.window->button("download")->isEnabled());

    p.confirmSettings(port, 0); // JXV8410-USB
    EXPECT_EQ(p.comm.CurrentDevice.Connected, -1);
    EXPECT_EQ(p.comm.CurrentDevice.ModelIndex, 5);
    EXPECT_EQ(p.comm.CurrentDevice.DebugMode, -1);
    EXPECT_EQ(p.panel(2), "Debug Mode");
    EXPECT_EQ(p.panel(5), QString("127.0.0.1 [10]"));
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

    // A failed connect reads nothing.
    p.window->button("disconnect")->trigger();
    EXPECT_EQ(p.panel(1), "Not Connected");
    p.sim.stop();
    p.sim.clearTranscript();
    p.comm.CurrentDevice.LinkTimeout = 300;
    p.window->button("connect")->trigger();
    EXPECT_EQ(p.comm.CurrentDevice.Connected, 0);
    EXPECT_EQ(p.panel(1), "Not Connected");
    EXPECT_TRUE(p.sim.transcript().empty());
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
    EXPECT_EQ(p.sim.memory(512, 64),
              Bytes(p.project.ProgramImage.begin(), p.project.ProgramImage.begin() + 64));

    // Export is a menu of internal builds only; it is bound all the same.
    const std::string exported = p.folder.filePath("plant.mlq").toStdString();
    p.dialogs.files = {exported};
    EXPECT_FALSE(p.window->menuItem("mnu_Export")->isVisible());
    p.window->menuItem("mnu_Export")->trigger();
    EXPECT_TRUE(p.logHas("Export Successful"));
    EXPECT_TRUE(std::filesystem::exists(exported));
}

} // namespace
