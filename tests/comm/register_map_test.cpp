#include <gtest/gtest.h>

#include "comm/register_map.h"
#include "core/build_flags.h"
#include "core/language.h"

namespace {

// Catalogue rows of representative models.
constexpr int Jxv8410 = 0, Jxv8410Dl = 2, Jxv8410Usb = 32, Jxv8480 = 9, Jxv8480Ai = 37, Jxv7593 = 10,
              Kelmo7593 = 35, Jxv9568 = 34, Jxv9704 = 38, Jxv9322 = 40, Jxv9436I = 42, Jxv9025 = 44,
              Jxv9422 = 39, Jxv9930 = 47, Jxv2569 = 11, Jxv8250 = 6, Jxv9787 = 48;

constexpr const char* Res = "--Reserved--";

// One row per branch of the map: model group, clock, network, local I/O, display, the numbered and
// stepped runs, and the lists that overwrite an earlier one.
const struct {
    int row, reg;
    const char* name;
    uint8_t type, kind;
} Cases[] = {{Jxv8410, 0, "RUN", 0, 1},
             {Jxv8410, 1, "Firmware[0]", 7, 2},
             {Jxv8410, 5, "Port 1 Set (485 master)", 7, 2},
             {Jxv8410, 8, Res, 0, 1},
             {Jxv8410, 12, "WatchDog Time", 0, 2},
             {Jxv8410, 14, "Status[0]", 9, 1},
             {Jxv8410, 22, Res, 0, 1},
             {Jxv8410, 945, "", 1, 0},
             {Jxv8410Dl, 22, "RTC[Sec]", 7, 1},
             {Jxv8410Usb, 931, "Freq[3]", 0, 1},
             {Jxv8410Usb, 938, "Counter[3]", 3, 1},
             {Jxv8410Usb, 945, "IP[3/2]", 7, 1},
             {Jxv8410Usb, 1048, "Status USB", 9, 1},
             {Jxv8410Usb, 1223, "Log Dir [3]", 8, 3},
             {Jxv8480, 8, "Function Keys", 9, 1},
             {Jxv8480Ai, 5, Res, 0, 1},
             {Jxv8480Ai, 27, Res, 0, 1},
             {Jxv7593, 18, "Port 0 Set (485 slave)", 0, 1},
             {Jxv7593, 1216, "Input Type[1-0]", 7, 3},
             {Kelmo7593, 10, Res, 0, 1},
             {Kelmo7593, 11, "PowerUp / Safe ", 9, 1},
             {Kelmo7593, 13, Res, 0, 1},
             {Kelmo7593, 28, "Analog Input [2 - mV  ]", 1, 1},
             {Kelmo7593, 945, "", 1, 0},
             {Kelmo7593, 928, Res, 0, 1},
             {Jxv2569, 1231, "T 0  1/10s (prg)", 1, 3},
             {Jxv8250, 34, "Input Type[1-0]", 7, 1},
             {Jxv9568, 0, BuildInternal ? "RUN" : Res, 0, 1}, // programmed only in the internal edition
             {Jxv9568, 30, "Digital Outputs", 9, 1},
             {Jxv9568, 44, "Counter[Dig In 3]", 3, 1},
             {Jxv9568, 1220, Res, 0, 1},
             {Jxv9704, 30, Res, 0, 1},
             {Jxv9422, 49, "--Break Status [0-3]--", 9, 1},
             {Jxv9322, 35, Res, 1, 1},
             {Jxv9322, 44, "Analog Input [4- mA]", 1, 1},
             {Jxv9436I, 49, Res, 1, 1},
             {Jxv9025, 49, "--Break Status [0-7]--", 9, 1},
             {Jxv9930, 59, "Safe Value [3]", 1, 1},
             {Jxv9787, 1216, "", 1, 3}};

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
    for (const auto& e : Cases) {
        comm = CommState{};
        map(e.row, false);
        const RegisterRecord& r = comm.Registers[static_cast<size_t>(e.reg)];
        EXPECT_EQ(std::tuple(r.Name, r.ValueType, r.Kind), std::tuple(std::string(e.name), e.type, e.kind))
            << "row " << e.row << " register " << e.reg;
    }
}

// Keep leaves the project's names; a new map clears them but never the values. The view is told once per
// map, and registers outside the table are refused.
TEST_F(RegisterMap, KeepLeavesProjectRegistersAndValuesAloneAndRegistersOutsideTheTableAreRefused) {
    int refreshed = 0;
    comm.onRegisterNamesChanged = [&] { ++refreshed; };
    comm.Registers[100].Name = "Level";
    comm.Registers[100].Value = 77;
    map(0, true);
    EXPECT_EQ(comm.Registers[100].Name, "Level");
    EXPECT_EQ(comm.Registers[100].Label, "%R100"); // never named by a map, still shown by its number
    map(0, false);
    EXPECT_EQ(comm.Registers[100].Name, "");
    EXPECT_EQ(comm.Registers[100].Value, 77);
    EXPECT_EQ(comm.Registers[100].Label, "%R100");
    EXPECT_EQ(refreshed, 2);
    EXPECT_FALSE(ImpostaRegistro(comm, shell.RegisterPrefixes, 2049, "x", 0, 0));
    EXPECT_FALSE(ImpostaRegistro(comm, shell.RegisterPrefixes, -1, "x", 0, 0));
    EXPECT_FALSE(ImpostaRegistro(comm, shell.RegisterPrefixes, 5, "x", 0, 5));
    EXPECT_TRUE(ImpostaRegistro(comm, shell.RegisterPrefixes, 2048, "Last", 0, 4));
    EXPECT_EQ(comm.Registers[2048].Label, "2048"); // kind 4 has no prefix
}
