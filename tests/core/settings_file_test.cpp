#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/language.h"
#include "core/settings_file.h"
#include "support/fake_dialogs.h"

namespace {

class SettingsFile : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("melqo-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                  "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        CaricaRisorse(shell, 1);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void read(const std::string& bytes) {
        std::ofstream(folder / "devSettings.dat", std::ios::binary) << bytes;
        LeggiSettings(shell, device, folder.string());
    }
    std::string fileBytes() {
        std::stringstream s;
        s << std::ifstream(folder / "devSettings.dat", std::ios::binary).rdbuf();
        return s.str();
    }
    // Every item of the file, to compare a device with another at once.
    auto items(const DeviceRecord& d) {
        return std::tuple(shell.Language, shell.ModemNumber, d.ModelIndex, d.Channel, d.NodeAddress,
                          d.IpAddress, d.Port, d.LinkTimeout, d.BaudRate, d.TwoStopBits, d.ModemDialUp,
                          d.SerialDevice);
    }

    std::filesystem::path folder;
    ShellState shell;
    DeviceRecord device;
    FakeDialogs dialogs;
};

} // namespace

// The file holds the lines in print form (numbers between blanks) and reads back to the same settings.
TEST_F(SettingsFile, WritesTheLinesInPrintFormAndReadsThemBack) {
    DeviceRecord saved;
    saved.ModelIndex = 5;
    saved.Channel = 1;
    saved.NodeAddress = 247;
    saved.IpAddress = "10.0.0.7";
    saved.Port = 4;
    saved.LinkTimeout = 2500;
    saved.BaudRate = "115200";
    saved.TwoStopBits = -1;
    saved.ModemDialUp = -1;
    saved.SerialDevice = "/dev/ttyUSB0";
    shell.Language = 0;
    shell.ModemNumber = "0039 02 1234";
    ASSERT_TRUE(SaveSettings(shell, saved, folder.string()));
    EXPECT_EQ(fileBytes(), " 0 \r\n80E7\r\n 1 \r\n 247 \r\n10.0.0.7\r\n 4 \r\n 2500 \r\n115200\r\n 1 \r\n 1 "
                           "\r\n/dev/ttyUSB0\r\n0039 02 1234\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}),
              1); // no temporary or old copy left
    const auto expected = items(saved);
    shell = ShellState{};
    CaricaRisorse(shell, 1);
    LeggiSettings(shell, device, folder.string());
    EXPECT_EQ(items(device), expected);
}

TEST_F(SettingsFile, MissingFileKeepsEveryDefaultButAModelOutsideTheCatalogue) {
    const auto defaults = items(device);
    LeggiSettings(shell, device, (folder / "no-such-folder").string());
    EXPECT_EQ(items(device), defaults);
    EXPECT_EQ(device.ModelIndex, 48);
    device.ModelIndex = 60; // outside the catalogue: row zero, file or not
    LeggiSettings(shell, device, folder.string());
    EXPECT_EQ(device.ModelIndex, 0);
}

TEST_F(SettingsFile, ShortFileSetsWhatItHoldsAndClearsTheFlags) {
    device.TwoStopBits = -1;
    device.ModemDialUp = -1;
    read(" 0 \n8006\n 1 \n");
    EXPECT_EQ(shell.Language, 0);
    EXPECT_EQ(device.ModelIndex, 3);
    EXPECT_EQ(device.Channel, 1);
    EXPECT_EQ(device.NodeAddress, 10);
    EXPECT_EQ(device.TwoStopBits, 0);
    EXPECT_EQ(device.ModemDialUp, 0);
    EXPECT_EQ(device.SerialDevice, ""); // a ten-line file from before keeps the derived device
}

TEST_F(SettingsFile, UnreadableItemsKeepTheirValues) {
    read("  9 \r\n\r\nx\r\n 300 \r\n 10.1.1.1 , extra\r\n 99999 \r\n1000ms\r\n 19200\r\n 7 "
         "\r\nno\r\nlater line\r\n");
    EXPECT_EQ(shell.Language, 1);            // no texts for language 9
    EXPECT_EQ(device.ModelIndex, 48);        // no code: the empty rows are never found
    EXPECT_EQ(device.Channel, 0);            // not a number
    EXPECT_EQ(device.NodeAddress, 10);       // does not fit a byte
    EXPECT_EQ(device.IpAddress, "10.1.1.1"); // up to the comma, blanks skipped
    EXPECT_EQ(device.Port, 502);             // does not fit 16 bits
    EXPECT_EQ(device.LinkTimeout, 1000);
    EXPECT_EQ(device.BaudRate, "19200");
    EXPECT_EQ(device.TwoStopBits, -1); // any non-zero number
    EXPECT_EQ(device.ModemDialUp, 0);  // unreadable
    EXPECT_EQ(device.SerialDevice, "later line");
}

// The address lines come with a link time-out below the floor, which is raised to it.
TEST_F(SettingsFile, AddressLineThatIsNoAddressKeepsTheDefaultAndTheTimeoutIsRaisedToTheFloor) {
    const std::pair<const char*, const char*> cases[] = {{"plc-7.plant.local", "plc-7.plant.local"},
                                                         {"127.0.0.1", "127.0.0.1"},
                                                         {"", "127.0.0.9"},
                                                         {"10.0.0.300", "127.0.0.9"},
                                                         {"a b; rm -rf", "127.0.0.9"},
                                                         {"-plc", "127.0.0.9"}};
    const char* timeouts[] = {" 0 ", " 5 ", " -20 "};
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto [line, expected] = cases[i];
        device.IpAddress = "127.0.0.9";
        device.LinkTimeout = 1000;
        read(std::string(" 1 \r\nZZZZ\r\n 0 \r\n 1 \r\n") + line + "\r\n 502 \r\n" + timeouts[i % 3] +
             "\r\n");
        EXPECT_EQ(device.IpAddress, expected) << line;
        EXPECT_EQ(device.LinkTimeout, MinLinkTimeout) << line;
    }
}

// A save that cannot write says so, with the reason, and leaves the old file as it was.
TEST_F(SettingsFile, AFailedSaveTellsWhyAndKeepsTheOldFile) {
    ASSERT_TRUE(SaveSettingsOrTell(shell, device, folder.string(), dialogs));
    const std::string before = fileBytes();
    std::filesystem::create_directory(folder / "devSettings.dat.tmp~"); // the new file cannot be made
    device.NodeAddress = 99;
    const struct {
        std::string folder;
        std::string reason;
    } cases[] = {
        {folder.string(), (folder / "devSettings.dat").string() + ": File exists"},
        {(folder / "missing").string(),
         (folder / "missing" / "devSettings.dat").string() + ": No such file or directory"},
        {"", "no folder for the program's data"},
    };
    for (const auto& c : cases) {
        dialogs.boxes.clear();
        EXPECT_FALSE(SaveSettingsOrTell(shell, device, c.folder, dialogs));
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, "The settings could not be saved: " + c.reason);
        EXPECT_EQ(dialogs.boxes[0].icon, MsgIcon::Critical);
        EXPECT_EQ(shell.log.lines().back(), dialogs.boxes[0].text + "  ");
    }
    EXPECT_EQ(fileBytes(), before);
}
