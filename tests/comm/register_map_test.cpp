#include <gtest/gtest.h>

#include "core/language.h"
#include "comm/register_map.h"

namespace {

struct Expect {
    int row; // catalogue row
    int reg;
    const char* name;
    uint8_t type;
    uint8_t kind;
};

// Catalogue rows of representative models.
constexpr int Jxv8410 = 0, Jxv8410Dl = 2, Jxv8410Usb = 32, Jxv8480 = 9, Jxv8480Ai = 37, Jxv7593 = 10,
              Kelmo7593 = 35, Jxv9568 = 34, Jxv9704 = 38, Jxv9322 = 40, Jxv9436I = 42, Jxv9025 = 44,
              Jxv9422 = 39, Jxv9930 = 47, Jxv2569 = 11, Jxv8250 = 6, Jxv9787 = 48;

constexpr const char* Res = "--Reserved--";

const Expect Cases[] = {
    // controller with local I/O off, programmable
    {Jxv8410, 0, "RUN", 0, 1},
    {Jxv8410, 1, "Firmware[0]", 7, 2},
    {Jxv8410, 5, "Port 1 Set (485 master)", 7, 2},
    {Jxv8410, 6, "Address", 0, 2},
    {Jxv8410, 8, Res, 0, 1},
    {Jxv8410, 10, "System Flags", 9, 1},
    {Jxv8410, 12, "WatchDog Time", 0, 2},
    {Jxv8410, 13, "PC", 0, 1},
    {Jxv8410, 14, "Status[0]", 9, 1},
    {Jxv8410, 15, "Status[1]", 0, 1},
    {Jxv8410, 16, "COM Errors", 0, 1},
    {Jxv8410, 18, "Port 0 Set (485 slave)", 7, 2},
    {Jxv8410, 22, Res, 0, 1},
    {Jxv8410, 945, "", 1, 0},
    // with clock
    {Jxv8410Dl, 22, "RTC[Sec]", 7, 1},
    {Jxv8410Dl, 25, "RTC[Month/Year]", 7, 1},
    // USB controller: network registers, local I/O
    {Jxv8410Usb, 8, "Digital Inputs", 9, 1},
    {Jxv8410Usb, 9, "Digital Outputs", 9, 1},
    {Jxv8410Usb, 928, "Freq[0]", 0, 1},
    {Jxv8410Usb, 931, "Freq[3]", 0, 1},
    {Jxv8410Usb, 932, "Counter[0]", 3, 1},
    {Jxv8410Usb, 938, "Counter[3]", 3, 1},
    {Jxv8410Usb, 940, "Encoder[0/1]", 0, 1},
    {Jxv8410Usb, 945, "IP[3/2]", 7, 1},
    {Jxv8410Usb, 954, "DNS2[1/0]", 7, 1},
    {Jxv8410Usb, 955, "Option", 9, 1},
    {Jxv8410Usb, 956, Res, 0, 1},
    {Jxv8410Usb, 958, Res, 0, 1},
    {Jxv8410Usb, 959, "Command", 0, 1},
    {Jxv8410Usb, 1024, "Status DDNS", 0, 1},
    {Jxv8410Usb, 1026, "Retain[0]", 0, 1},
    {Jxv8410Usb, 1045, "Retain[19]", 0, 1},
    {Jxv8410Usb, 1047, "Status NTP [1]", 0, 1},
    {Jxv8410Usb, 1048, "Status USB", 9, 1},
    {Jxv8410Usb, 1220, "Log Dir [0]", 8, 3},
    {Jxv8410Usb, 1223, "Log Dir [3]", 8, 3},
    // display controllers
    {Jxv8480, 8, "Function Keys", 9, 1},
    {Jxv8480, 9, "Actual Page", 0, 1},
    {Jxv8480, 11, "Display Options", 9, 1},
    {Jxv8480Ai, 5, Res, 0, 1},
    {Jxv8480Ai, 7, Res, 0, 1},
    {Jxv8480Ai, 17, Res, 0, 1},
    {Jxv8480Ai, 19, Res, 0, 1},
    {Jxv8480Ai, 18, "Port 0 Set (485 slave)", 7, 2},
    {Jxv8480Ai, 26, "Analog Input", 1, 1},
    {Jxv8480Ai, 27, Res, 0, 1},
    {Jxv8480Ai, 34, "Input type", 7, 1},
    // analog modules
    {Jxv7593, 18, "Port 0 Set (485 slave)", 0, 1},
    {Jxv7593, 8, "Digital Inputs", 9, 1}, // local I/O outside the module group: the controller names
    {Jxv7593, 26, "Analog Input[0]", 1, 1},
    {Jxv7593, 28, Res, 1, 1},
    {Jxv7593, 33, "Analog Output[1]", 1, 1},
    {Jxv7593, 1216, "Input Type[1-0]", 7, 3},
    {Kelmo7593, 0, "RUN", 0, 1},
    {Kelmo7593, 10, Res, 0, 1},
    {Kelmo7593, 11, "PowerUp / Safe ", 9, 1},
    {Kelmo7593, 12, Res, 0, 1},
    {Kelmo7593, 13, Res, 0, 1},
    {Kelmo7593, 14, Res, 0, 1},
    {Kelmo7593, 18, "Port 0 Set (485 slave)", 0, 1},
    {Kelmo7593, 28, "Analog Input [2 - mV  ]", 1, 1},
    {Kelmo7593, 36, Res, 1, 1},
    {Kelmo7593, 38, "Analog Output [1]", 1, 1},
    {Kelmo7593, 945, "", 1, 0}, // not in the network group
    {Kelmo7593, 928, Res, 0, 1},
    {Jxv2569, 26, "Analog Input", 1, 1},
    {Jxv2569, 1215, "T 0 (ms)", 1, 1},
    {Jxv2569, 1216, "Input Type (def)", 1, 3},
    {Jxv2569, 1231, "T 0  1/10s (prg)", 1, 3},
    {Jxv8250, 34, "Input Type[1-0]", 7, 1},
    {Jxv8250, 32, "Analog Output[0]", 1, 1},
    // digital modules
    {Jxv9568, 0, Res, 0, 1},
    {Jxv9568, 11, "PowerUp / Safe ", 9, 1},
    {Jxv9568, 14, Res, 0, 1},
    {Jxv9568, 8, Res, 0, 1},
    {Jxv9568, 932, Res, 0, 1},
    {Jxv9568, 30, "Digital Outputs", 9, 1},
    {Jxv9568, 37, "Freq[Dig In 3]", 0, 1},
    {Jxv9568, 38, "Counter[Dig In 0]", 3, 1},
    {Jxv9568, 44, "Counter[Dig In 3]", 3, 1},
    {Jxv9568, 45, Res, 0, 1},
    {Jxv9568, 1048, Res, 0, 1},
    {Jxv9568, 1220, Res, 0, 1},
    {Jxv9704, 30, Res, 0, 1},
    {Jxv9704, 31, "Digital Inputs", 9, 1},
    // analog input modules
    {Jxv9422, 30, "Input Type [0]", 7, 1},
    {Jxv9422, 35, "--Enabled channels [0-3]--", 9, 1},
    {Jxv9422, 43, "Analog Input [3]", 1, 1},
    {Jxv9422, 49, "--Break Status [0-3]--", 9, 1},
    {Jxv9322, 33, "Input Type [7-6]", 7, 1},
    {Jxv9322, 35, Res, 1, 1},
    {Jxv9322, 44, "Analog Input [4- mA]", 1, 1},
    {Jxv9322, 49, "--Break Status [0-7]--", 9, 1},
    {Jxv9436I, 35, "--Enabled channels [0-7]--", 9, 1},
    {Jxv9436I, 47, "Analog Input [7]", 1, 1},
    {Jxv9436I, 49, Res, 1, 1},
    {Jxv9025, 49, "--Break Status [0-7]--", 9, 1},
    // analog output module
    {Jxv9930, 31, "Output Type [3-2]", 7, 1},
    {Jxv9930, 43, "Analog Output [3]", 1, 1},
    {Jxv9930, 48, "Power-Up Value [0]", 1, 1},
    {Jxv9930, 59, "Safe Value [3]", 1, 1},
    {Jxv9930, 62, Res, 1, 1},
    {Jxv9930, 63, "", 1, 0},
    // the default model
    {Jxv9787, 0, Res, 0, 1},
    {Jxv9787, 44, Res, 0, 1},
    {Jxv9787, 45, "", 1, 0},
    {Jxv9787, 1216, "", 1, 3},
};

class RegisterMap : public ::testing::Test {
  protected:
    void SetUp() override { CaricaRisorse(shell, 1); }
    void map(int row, bool keep) {
        comm.CurrentDevice.ModelIndex = static_cast<uint8_t>(row);
        MappaRegistri(comm, shell, keep);
    }
    ShellState shell;
    CommState comm;
};

} // namespace

TEST_F(RegisterMap, NamesTypesAndKindsByModel) {
    for (const Expect& e : Cases) {
        comm = CommState{};
        map(e.row, false);
        const RegisterRecord& r = comm.Registers[static_cast<size_t>(e.reg)];
        EXPECT_EQ(r.Name, e.name) << "row " << e.row << " register " << e.reg;
        EXPECT_EQ(r.ValueType, e.type) << "row " << e.row << " register " << e.reg;
        EXPECT_EQ(r.Kind, e.kind) << "row " << e.row << " register " << e.reg;
    }
}

TEST_F(RegisterMap, KeepLeavesProjectRegistersAndValuesAlone) {
    comm.Registers[100].Name = "Level";
    comm.Registers[100].ValueType = 4;
    comm.Registers[100].Value = 77;
    comm.Registers[1].Value = 12;
    map(0, true);
    EXPECT_EQ(comm.Registers[100].Name, "Level");
    EXPECT_EQ(comm.Registers[100].ValueType, 4);
    EXPECT_EQ(comm.Registers[1].Value, 12);
    map(0, false);
    EXPECT_EQ(comm.Registers[100].Name, "");
    EXPECT_EQ(comm.Registers[100].ValueType, 1);
    EXPECT_EQ(comm.Registers[100].Kind, 0);
    EXPECT_EQ(comm.Registers[100].Value, 77);
    EXPECT_EQ(comm.Registers[100].Label, "%R100");
}

// The top block is kind 3 everywhere; two analog modules name its first register.
TEST_F(RegisterMap, TopBlockIsKindThreeForEveryModel) {
    for (int row = 0; row < 49; ++row) {
        comm = CommState{};
        map(row, false);
        const ModelRecord& m = shell.Models[static_cast<size_t>(row)];
        const RegisterRecord& top = comm.Registers[m.HighRegisterStart];
        EXPECT_EQ(top.Kind, 3) << row;
        bool named = row == Jxv7593 || row == 13 || row == Jxv2569;
        EXPECT_EQ(top.Name.empty(), !named) << row;
        EXPECT_EQ(comm.Registers[0].Label, "%R0") << row;
        EXPECT_EQ(comm.Registers[0].Kind, 1) << row;
    }
}

TEST_F(RegisterMap, RefreshesTheViewAndRejectsRegistersOutsideTheTable) {
    int refreshed = 0;
    comm.onRegisterNamesChanged = [&] { ++refreshed; };
    map(48, true);
    EXPECT_EQ(refreshed, 1);
    EXPECT_FALSE(ImpostaRegistro(comm, shell.RegisterPrefixes, 2049, "x", 0, 0));
    EXPECT_FALSE(ImpostaRegistro(comm, shell.RegisterPrefixes, -1, "x", 0, 0));
    EXPECT_FALSE(ImpostaRegistro(comm, shell.RegisterPrefixes, 5, "x", 0, 5));
    EXPECT_TRUE(ImpostaRegistro(comm, shell.RegisterPrefixes, 2048, "Last", 0, 4));
    EXPECT_EQ(comm.Registers[2048].Label, "2048"); // kind 4 has no prefix
}
