// The MAC address register: list file and report bytes, the read from a device, and the ways a user's
// list could be lost or corrupted.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "discovery/lett_mac.h"
#include "program/transfer/file_output.h"
#include "support/sim_controller.h"
#include "support/sim_session.h"

namespace {

const std::vector<MacEntry> Sample{
    {"00-1A-2B-3C-4D-5E", 1, "123", "15", "Rossi, Milano"},
    {"00-1A-2B-3C-4D-5F", 2, "", "09", ""},
    {"00-1A-2B-3C-4D-60", 3, "AB", "16", "C\tD"},
};

TEST(MacListFile, WritesRecordsAndReadsThemBack) {
    std::string bytes = writeMacList(Sample);
    EXPECT_EQ(bytes, "1\t00-1A-2B-3C-4D-5E\t123/15\tRossi, Milano\r\n"
                     "2\t00-1A-2B-3C-4D-5F\t/09\t\r\n"
                     "3\t00-1A-2B-3C-4D-60\tAB/16\tC\tD\r\n");
    MacListRead back = readMacList(bytes);
    EXPECT_FALSE(back.badRecord);
    EXPECT_EQ(writeMacList(back.entries), bytes);
    EXPECT_EQ(
        (std::tuple{back.entries[2].ID, back.entries[2].PFC, back.entries[2].Anno, back.entries[2].Cliente}),
        (std::tuple{3, std::string("AB"), std::string("16"), std::string("C\tD")}));
    EXPECT_EQ(writeMacList({}), "");
}

TEST(MacListFile, StopsAtTheFirstUnreadableRecord) {
    struct Case {
        std::string bytes;
        size_t loaded;
        std::optional<size_t> bad;
    };
    for (const Case& c : std::vector<Case>{
             {"5\tA\t/\n6\tB\t1/2\tX", 2, std::nullopt}, // bare LF, last line without an end
             {"5\tA\t/\r\n\r\n6\tB\t/\r\n", 1, 2},       // an empty line
             {"5\tA\t/\r\nx7\tB\t/\r\n", 1, 2},          // an ID that is no number
         }) {
        MacListRead r = readMacList(c.bytes);
        EXPECT_EQ(r.entries.size(), c.loaded) << c.bytes;
        EXPECT_EQ(r.badRecord, c.bad) << c.bytes;
    }
}

TEST(MacReport, ListsTheFilteredEntriesUnderFourHeaderLines) {
    const std::string head =
        "\r\n07/12/2026 10:00:00\r\n" + std::string(53, '-') + "\r\nID\tMAC\t\t\tPFC\tCliente\r\n";
    EXPECT_EQ(macReport(Sample, {MacReportBy::Cliente, "", "", ""}, "07/12/2026 10:00:00"),
              "Report MAC per Cliente " + head + "2\t00-1A-2B-3C-4D-5F\t___/__\t_________________\r\n");
    EXPECT_EQ(macReport(Sample, {MacReportBy::Pfc, "123", "15", ""}, "07/12/2026 10:00:00"),
              "Report MAC per PCF 123/15" + head + "1\t00-1A-2B-3C-4D-5E\t123/15\tRossi, Milano\r\n");
    EXPECT_EQ(macReport(Sample, {MacReportBy::Anno, "", "99", ""}, "07/12/2026 10:00:00"),
              "Report MAC per Anno 2099" + head);
}

struct MacWindow : ::testing::Test {
    MacWindow() : device(1) {
        session.connectTcp(device.startTcp());
        setMac({0x001A, 0x2B3C, 0x4D5E});
    }
    void setMac(std::array<uint16_t, 3> words) {
        for (uint16_t i = 0; i < 3; ++i)
            device.setInput(static_cast<uint16_t>(14 + i), words[i]);
    }
    std::string path(const char* name) { return dir.filePath(name).toStdString(); }

    SimController device;
    SimSession session;
    LettMac mac{session.app};
    QTemporaryDir dir;
};

TEST_F(MacWindow, ReadsTheMacFromInputRegisters14To16AndNumbersIt) {
    mac.Command1_Click({"7", "26", "ACME"});
    ASSERT_EQ(mac.lines(), std::vector<std::string>{"[1]\t00-1A-2B-3C-4D-5E\tPFC:7/26\tCl.:ACME"});
    EXPECT_EQ(device.transcript().back(), (Bytes{1, 4, 0, 14, 0, 3}));
    EXPECT_TRUE(mac.ElencoModificato);

    mac.Command1_Click({});
    EXPECT_EQ(session.dialogs.shown.back(), "MAC gi\xE0 inserito");
    setMac({0xFFFF, 0xFFFF, 0xFFFF});
    mac.Command1_Click({});
    EXPECT_EQ(session.dialogs.shown.back(), "MAC non valido");
    setMac({0, 0, 7});
    mac.Command1_Click({"1/2", "26", ""});
    EXPECT_EQ(mac.ElencoMAC.size(), 1u) << "a PFC with \"/\" would split its record";
    device.inject({SimFault::Raw, 0, 0, {0, 1, 0, 0, 0, 5, 1, 4, 2, 0, 0}}); // two bytes where six are due
    mac.Command1_Click({});
    EXPECT_EQ(session.dialogs.shown.back(), "Errore Lettura");
    EXPECT_EQ(mac.ElencoMAC.size(), 1u);
}

TEST_F(MacWindow, ABadRecordLoadsWhatCameBeforeAndTheNextSaveAsksForAFile) {
    WriteWholeFile(path("list.csv"), "40\tAA\t/\r\nbad\r\n41\tBB\t/\r\n");
    session.dialogs.files = {path("list.csv")};
    mac.cmd_loadFile_Click();
    EXPECT_EQ(mac.ElencoMAC.size(), 1u);
    EXPECT_NE(session.dialogs.shown.back().find("Record 2"), std::string::npos);
    EXPECT_TRUE(mac.FileElenco.empty());
    mac.Command1_Click({});
    EXPECT_EQ(mac.ElencoMAC.back().ID, 41);

    // Loading over the modified list asks first; Cancel keeps it.
    session.dialogs.choices = {MsgChoice::Cancel};
    mac.cmd_loadFile_Click();
    EXPECT_EQ(mac.ElencoMAC.size(), 2u);
    // Closing: Yes, then a cancelled save dialog, keeps the window open and the list modified.
    session.dialogs.choices = {MsgChoice::Yes};
    EXPECT_FALSE(mac.Form_Unload());
    EXPECT_TRUE(mac.ElencoModificato);
    session.dialogs.choices = {MsgChoice::Yes};
    session.dialogs.files = {path("saved.csv")};
    EXPECT_TRUE(mac.Form_Unload());
    std::string saved;
    ASSERT_TRUE(ReadWholeFile(path("saved.csv"), saved));
    EXPECT_EQ(saved, "40\tAA\t/\t\r\n41\t00-1A-2B-3C-4D-5E\t/09\t\r\n");
}

} // namespace
