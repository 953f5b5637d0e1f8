// Every function block as the user fills it in, and the record the editor writes for it.
#include <gtest/gtest.h>

#include <vector>

#include "editor_fixture.h"

namespace {

// One user action on a row: pick a type (Type), type a value (Text), or both. Row -1 is the delay
// field; Type "click" clicks the row as the device rows need after choosing a module.
struct Step {
    int Row;
    const char* Type;
    const char* Text;
};

struct BlockCase {
    const char* Name;
    int Function;
    std::vector<Step> Steps;
    std::vector<std::pair<int, Bytes>> Slots = {}; // expected slot bytes
    int DataSize = -1;                             // -1: not checked
    const char* Summary = nullptr;
    std::vector<int> Codes = {};                         // FunctionType, Opcode, SubOp
    int Delay = -1;                                      // the rung starts with delay 7
    std::vector<std::pair<int, Bytes>> Before = {};      // slots set before choosing the block
    std::vector<std::pair<int, const char*>> Types = {}; // row types shown when the rung is reopened
    bool BlockModel = false;                             // a model with the "Block" row
    bool Tables = false;                                 // three lookup tables: T1, T2, T3 (10 points)
};

void PrintTo(const BlockCase& c, std::ostream* os) {
    *os << c.Name;
}

const Bytes Zero{0, 0, 0, 0}, Nine{9, 9, 9, 9}, Five{5, 5, 5, 5}, Ones{0, 0, 0xFF, 0xFF};
const Bytes R26{26, 0, 0, 0};

// clang-format off
const BlockCase Records[] = {
    {"Add", 4, {{0, nullptr, "%R26"}, {1, nullptr, "%R27"}, {4, nullptr, "%R28"}},
     {{0, Zero}, {1, {0x11, 1, 0, 0}}, {3, {0x1A, 0, 0, 0}}, {4, {0x1B, 0, 0, 0}}, {5, {0, 1, 0, 0}}, {7, {0x1C, 0, 0, 0}}},
     34, "[ %R26 , %R27 , %R28 ]", {3, 1, 0}, 0},
    {"AddFloatConstantWithBlockRow", 4, {{0, "K_Flt", "2.5"}},
     {{3, {0, 0, 0x20, 0x40}}, {1, {0x15, 1, 0, 0}}, {5, {1, 1, 0, 0}}}, 34, nullptr, {}, -1, {}, {}, true},
    {"AddIntConstant", 4, {{0, "Int", "300"}}, {{3, {44, 1, 0, 0}}}, -1, nullptr, {}, -1, {}, {}, true},
    {"MoveCountZeroMeansOne", 7, {{5, nullptr, "0"}}, {{5, {1, 1, 0, 0}}}, -1, nullptr, {}, -1, {}, {}, true},
    {"MoveCount", 7, {{5, nullptr, "8"}}, {{0, {4, 0, 0, 0}}, {5, {1, 8, 0, 0}}}, -1, nullptr, {}, -1, {}, {}, true},
    {"SqrtLeavesTheSecondSlot", 8, {}, {{4, Nine}, {1, {1, 1, 0, 0}}, {0, {7, 0, 0, 0}}}, -1, "[ %R26 ,  , %R26 ]",
     {}, -1, {{4, Nine}}},
    {"LinearizationNamedTable", 30, {{1, nullptr, "T3"}},
     {{2, {2, 0, 0, 0}}, {5, {10, 1, 0, 0}}, {1, {0x51, 1, 0, 0}}, {0, {8, 0, 0, 0}}}, -1, nullptr, {}, -1, {}, {}, false, true},
    {"AverageSampleCount", 29, {{1, nullptr, "4"}}, {{4, {0, 0, 0x80, 0x40}}, {5, {4, 1, 0, 0}}}},
    {"Scale", 3, {{1, nullptr, "10"}, {2, nullptr, "0"}, {5, nullptr, "100"}, {6, nullptr, "0"}},
     {{1, {17, 85, 85, 0}}, {2, R26}, {3, {0, 0, 0x20, 0x41}}, {4, Zero}, {5, {0, 0, 0xC8, 0x42}}, {7, R26}},
     34, "[ %R26 , 10 , 0 , %R26 , 100 , 0 ]"},
    {"ScaleCommaBecomesAPoint", 3, {{1, nullptr, "12,5"}}, {{3, {0, 0, 0x48, 0x41}}}, -1, "[ %R26 , 12.5 , 0 , %R26 , 1 , 0 ]"},
    {"ScaleStoresItsTypes", 3, {{0, "uLong", nullptr}, {6, "Long", nullptr}}, {}, -1, nullptr, {}, -1, {},
     {{0, "uLong"}, {6, "Long"}, {4, "Int"}}},
    {"Pid", 55, {{1, nullptr, "2"}, {2, nullptr, "0.5"}, {5, nullptr, "1"}},
     {{0, Zero}, {1, {17, 85, 5, 0}}, {3, {0, 0, 0, 0x40}}, {4, {0, 0, 0, 0x3F}}, {5, {0, 0, 0x80, 0x3F}}, {6, Five}},
     -1, "[ %R26 , 2 , 0.5 , %R26 , 1 ,  ]", {3, 142, 0}, -1, {{6, Five}}},
    {"BlockMoveSwap", 46, {{1, nullptr, "4"}, {4, nullptr, "%R30"}, {4, "Swap", nullptr}},
     {{0, {26, 0, 30, 0}}, {1, {4, 0, 1, 7}}}, 10, nullptr, {}, -1, {{1, {0, 0, 0, 7}}}},
    {"BlockMoveLong", 46, {{0, "uLong", nullptr}, {1, nullptr, "4"}}, {{1, {4, 2, 0, 7}}}, -1, nullptr, {}, -1, {{1, {0, 0, 0, 7}}}},
    {"Timer", 16, {{0, nullptr, "3"}, {1, nullptr, "1000"}, {2, nullptr, "%R40"}},
     {{0, {3, 0, 0, 0}}, {1, {0xE8, 3, 0x28, 0}}, {2, Zero}, {3, Zero}, {4, Zero}, {5, Zero}, {6, Zero}, {7, Zero}},
     10, "[ 3 , 1000 , %R40 ]"},
    {"AndWordMaskIsSwapped", 21, {{5, nullptr, "4660"}},
     {{0, Zero}, {2, {0, 0, 0x12, 0x34}}, {3, R26}, {4, R26}, {5, Zero}, {6, Zero}, {7, R26}},
     34, "[ %R26 ,  , %R26 ,  , %R26 , 4660 ]", {}, -1, {{4, Nine}}},
    {"NotKeepsOnlyTheSourceType", 24, {{0, "K_Long", "70000"}}, {{1, {6, 0, 0, 0}}, {3, {1, 0, 0x70, 0x11}}, {4, Nine}},
     -1, nullptr, {}, -1, {{4, Nine}}},
    {"BitSet", 36, {{5, nullptr, "4"}},
     {{0, {9, 0, 0, 0}}, {1, {0x66, 0, 0, 0}}, {2, {0, 0, 4, 0}}, {3, Ones}, {4, Ones}, {5, Ones}, {6, Ones}},
     -1, nullptr, {3, 133, 13}},
    {"BitReset", 37, {}, {{0, {8, 0, 0, 0}}, {3, Zero}, {4, Zero}, {5, Ones}}, -1, nullptr, {3, 133, 14}},
    {"ShiftLeavesTheSecondSource", 26, {{2, nullptr, "3"}}, {{0, {5, 0, 0, 0}}, {2, {3, 0, 0, 0}}, {4, Nine}, {5, Zero}},
     -1, nullptr, {}, -1, {{4, Nine}}},
    {"AndBitStoresItsTypes", 33, {{0, "uLong", nullptr}, {2, "K_Long", "7"}, {4, "uLong", nullptr}, {1, nullptr, "4660"}},
     {{1, {0x62, 2, 0, 0}}, {4, {0, 0, 7, 0}}, {5, {0, 0, 0x34, 0x12}}}, -1, nullptr, {}, -1, {},
     {{0, "uLong"}, {2, "K_Long"}, {4, "uLong"}, {1, "K_Long"}}},
    {"ToggleRepeatsItsMask", 58, {{1, nullptr, "258"}}, {{0, {15, 0, 0, 0}}, {2, {0, 0, 1, 2}}, {5, {0, 0, 1, 2}}, {6, {0, 0, 1, 2}}}},
    {"Trip", 20, {{1, "K_Flt", "2.5"}, {3, "uLong", nullptr}, {5, nullptr, "3"}, {6, nullptr, "1000"}, {7, nullptr, "300"}},
     {{0, Zero}, {1, {0x15, 0x12, 3, 0}}, {2, {0, 0, 1, 0}}, {3, {0, 0, 0x20, 0x40}}, {5, {1, 0, 0, 0}},
      {6, {0xE8, 3, 0x2C, 1}}, {7, R26}},
     34, nullptr, {}, -1, {}, {{3, "uLong"}, {1, "K_Flt"}}},
    {"LogWriteKeepsTheDelay", 41, {}, {{0, {0, 1, 2, 3}}, {1, {4, 127, 0, 0}}}, 10, nullptr, {3, 138, 0}, 7},
    {"ReadHolding", 40, {{0, nullptr, "1"}, {1, nullptr, "100"}, {2, nullptr, "10"}, {4, nullptr, "%R30"}},
     {{0, {1, 0, 0, 0}}, {1, {100, 0, 0, 0}}, {2, {10, 0, 0, 0}}, {3, {30, 0, 0, 0}}, {4, {10, 0, 0, 0}}, {5, Zero}, {6, Zero}, {7, Zero}},
     0, "[ 1 , 100 , 10 , %R30 ]", {4, 0, 0}, 10},
    {"WriteMultipleDelayTakesBothBytes", 1, {{-1, nullptr, "300"}}, {{3, R26}, {4, {44, 0, 0, 0}}, {5, {1, 0, 0, 0}}}, -1, nullptr, {}, 300},
    {"DelayMinusOneIsTheTopValue", 40, {{-1, nullptr, "-1"}}, {}, -1, nullptr, {}, 65535},
    {"WriteSingleHasNoNumber", 65, {}, {{2, Zero}}},
    {"PointerWriteKeepsTheSlots", 64, {}, {{2, {9, 8, 7, 6}}}, -1, nullptr, {15, 0, 0}, -1, {{2, {9, 8, 7, 6}}}},
    {"PointerRead", 63, {{0, nullptr, "5"}, {4, nullptr, "%R31"}}, {{0, {5, 0, 0, 0}}, {3, {31, 0, 0, 0}}}, -1, "[ 5 , %R31 ]"},
    {"WriteDevice", 9, {{1, nullptr, "2"}, {5, nullptr, "0"}, {6, nullptr, "5"}, {7, nullptr, "%R40"}},
     {{0, {2, 0, 0, 0}}, {1, {14, 0, 0, 0}}, {2, {6, 0, 0, 0}}, {3, {40, 0, 0, 0}}}, -1,
     "[ JXV7541 , 2 , Analog Out , 0 , 5 , %R40 ]"},
    {"WriteDeviceOtherModule", 9, {{0, nullptr, "JXV7038"}, {0, "click", nullptr}, {5, nullptr, "2"}, {6, nullptr, "4"}},
     {{1, {9, 0, 0, 0}}, {2, {1, 0, 0, 0}}}},
    {"WriteDeviceChannelsEqual", 9, {{5, nullptr, "7"}, {6, nullptr, "7"}}, {}},
    {"ReadDeviceChosenResource", 2,
     {{0, nullptr, "JXV7243"}, {0, "click", nullptr}, {1, nullptr, "3"}, {4, nullptr, "CJC Value"}, {5, nullptr, "2"},
      {6, nullptr, "5"}, {7, nullptr, "%R40"}},
     {{0, {3, 0, 0, 0}}, {1, {15, 0, 0, 0}}, {2, {4, 0, 0, 0}}, {3, {40, 0, 0, 0}}}, -1, nullptr, {2, 1, 0}},
    // The 16-channel digital module hides its channel rows at "0" and takes channels up to 15.
    {"ReadDeviceDigital16", 2,
     {{5, nullptr, "3"}, {0, nullptr, "JXV7106"}, {0, "click", nullptr}, {6, nullptr, "15"}},
     {{0, {1, 0, 0, 0}}, {1, {10, 0, 0, 0}}, {2, {16, 0, 0, 0}}}},
    {"IfBitHighBit", 13, {{1, nullptr, "15"}},
     {{0, R26}, {1, Zero}, {2, Zero}, {3, Zero}, {4, Zero}, {5, Zero}, {6, Zero}, {7, {0x80, 0, 0, 0}}}, 34},
    {"ReturnClearsTheArguments", 15, {},
     {{0, Zero}, {1, Zero}, {2, Zero}, {3, Zero}, {4, Zero}, {5, Zero}, {6, Zero}, {7, Zero}, {8, Five}}, 2, nullptr, {}, -1,
     {{0, Five}, {1, Five}, {2, Five}, {3, Five}, {4, Five}, {5, Five}, {6, Five}, {7, Five}, {8, Five}}},
    {"CallKeepsItsTarget", 14, {}, {{0, Five}}, 6, nullptr, {}, -1, {{0, Five}}},
    {"ClearWatchdog", 45, {{4, nullptr, "20"}}, {{0, {20, 0, 0, 0}}}, -1, "[ 20 ]"},
    {"CallPage", 43, {}, {{0, {253, 0, 0, 0}}}, 34, nullptr, {3, 3, 253}},
    {"DisplayRefresh", 44, {}, {{0, {254, 0, 0, 0}}}, 6},
    {"AGreaterB", 49, {{1, "K_Flt", "2.5"}, {3, nullptr, "%R30"}, {3, "uLong", nullptr}},
     {{0, {2, 0, 0, 0}}, {1, {0x15, 0x12, 0, 0}}, {2, {0, 0, 1, 0}}, {3, {0, 0, 0x20, 0x40}}, {5, R26}, {7, {30, 0, 0, 0}}},
     34, "[ %R26 , 2.5 ,  , %R30 , 1 ]", {}, -1, {}, {{1, "K_Flt"}, {3, "uLong"}}},
    // A new limit's Input starts as uInt: its type code in the high nibble of byte 5 is 0.
    {"LimitTypes", 53, {{2, "Long", nullptr}, {1, "uInt", nullptr}}, {{0, {6, 0, 0, 0}}, {1, {48, 0, 0, 0}}}},
    {"Compare", 10, {{0, nullptr, "300"}, {4, nullptr, "300"}, {2, nullptr, "1"}},
     {{0, {44, 1, 0, 0}}, {3, {1, 44, 0, 0}}, {7, {0, 1, 0, 0}}}, 34},
    {"WhileLoop", 66, {{0, "Int", nullptr}, {1, nullptr, "10"}},
     {{0, {1, 5, 0, 0}}, {1, R26}, {2, {0, 0, 0x20, 0x41}}}, 18},
    {"WhileLimitTypeComesBack", 66, {{0, "Int", nullptr}, {1, "Int", nullptr}}, {}, -1, nullptr, {}, -1, {},
     {{1, "Int"}, {0, "Int"}}},
};

// Values the record cannot hold: the editor refuses them and the stored rung stays as it was.
const BlockCase Refused[] = {
    {"BlockCountIsOneByte", 4, {{3, nullptr, "256"}}, {}, -1, nullptr, {}, -1, {}, {}, true},
    {"RegisterBeyondADouble", 4, {{1, nullptr, "%R1e400"}}},
    {"ConstantBeyondADouble", 4, {{1, "K_Flt", "1e400"}}},
    {"NoSuchTable", 30, {{1, nullptr, "no such table"}}, {}, -1, nullptr, {}, -1, {}, {}, false, true},
    {"NoTablesAtAll", 30, {}}, {"SampleCountAboveAByte", 29, {{1, nullptr, "256"}}},
    {"SampleCountNegative", 29, {{1, nullptr, "-1"}}},
    {"BlockMoveCountAboveAByte", 46, {{1, nullptr, "300"}}},
    {"TimerAboveSixteenBits", 16, {{1, nullptr, "70000"}}},
    {"TimerBelowSixteenBits", 16, {{1, nullptr, "-40000"}}},
    {"TimerRegisterBeyondTheMap", 16, {{2, nullptr, "%R65536"}}},
    {"TripTimerIsOneByte", 20, {{5, nullptr, "256"}}},
    {"TripOffTimeAboveSixteenBits", 20, {{6, nullptr, "65536"}}},
    {"DelayAboveSixteenBits", 40, {{-1, nullptr, "65536"}}},
    {"DelayBelowSixteenBits", 40, {{-1, nullptr, "-32769"}}},
    {"ChannelFromAboveTo", 9, {{5, nullptr, "3"}, {6, nullptr, "2"}}},
    {"ChannelBeyondTheHighest", 9, {{5, nullptr, "0"}, {6, nullptr, "8"}}},
    {"ChannelBelowTheLowest", 9, {{5, nullptr, "-1"}, {6, nullptr, "3"}}},
    {"IfBitAbove15", 13, {{1, nullptr, "16"}}}, {"IfBitFraction", 13, {{1, nullptr, "1.5"}}},
    {"IfBitNegative", 13, {{1, nullptr, "-1"}}}, {"CompareAboveSixteenBits", 10, {{5, nullptr, "70000"}}},
};
// clang-format on

class Block : public EditorTest, public ::testing::WithParamInterface<BlockCase> {
  protected:
    void SetUp() override {
        const BlockCase& c = GetParam();
        if (c.BlockModel) model().EditorFeatureB = -1;
        if (c.Tables) {
            addTable("T1", 4);
            addTable("T2", 5);
            addTable("T3", 10);
        }
        rung().Delay = 7;
        for (auto [k, b] : c.Before)
            rung().ArgBytes[static_cast<size_t>(k)] = b;
        choose(c.Function);
        for (const Step& s : c.Steps) {
            if (s.Row < 0) {
                editor.state.Delay = s.Text;
                continue;
            }
            if (s.Type && std::string(s.Type) == "click")
                editor.rowClick(s.Row);
            else if (s.Type)
                pickType(s.Row, s.Type);
            if (s.Text) editor.setRowText(s.Row, s.Text);
        }
    }
};

using Accepted = Block;
using Rejected = Block;

TEST_P(Accepted, WritesTheRecord) {
    const BlockCase& c = GetParam();
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().EncodedFlag, -1);
    for (auto [k, b] : c.Slots)
        EXPECT_EQ(slot(k), b) << "slot " << k;
    // A field the row leaves unset (-1, nullptr, empty) is not checked.
    EXPECT_TRUE(c.DataSize < 0 || rung().DataSize == c.DataSize) << rung().DataSize;
    EXPECT_TRUE(!c.Summary || editor.row.Summary == c.Summary) << editor.row.Summary;
    const std::vector<int> codes{rung().FunctionType, rung().Opcode, rung().SubOp};
    EXPECT_TRUE(c.Codes.empty() || codes == c.Codes) << ::testing::PrintToString(codes);
    EXPECT_TRUE(c.Delay < 0 || rung().Delay == c.Delay) << rung().Delay;
    if (c.Types.empty()) return;
    choose(c.Function);
    for (auto [i, t] : c.Types)
        EXPECT_EQ(row(i).Type.Text, t) << "row " << i;
}

TEST_P(Rejected, LeavesTheRungAlone) {
    const CommandRecord before = rung();
    EXPECT_FALSE(editor.CompilaComando());
    EXPECT_EQ(rung(), before);
}

auto name = [](const auto& info) { return std::string(info.param.Name); };
INSTANTIATE_TEST_SUITE_P(Blocks, Accepted, ::testing::ValuesIn(Records), name);
INSTANTIATE_TEST_SUITE_P(Blocks, Rejected, ::testing::ValuesIn(Refused), name);

} // namespace

using Blocks = EditorTest;

TEST_F(Blocks, CaptionsTypeListsAndDeviceNames) {
    choose(20);
    pickType(3, "uLong");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(editor.row.ArgCaptions[3], "Dest (uLong)");
    EXPECT_EQ(editor.row.ArgCaptions[7], "Timer OFF");
    choose(40);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(editor.row.ArgCaptions[0], "Address");
    EXPECT_EQ(editor.row.ArgCaptions[4], "Dest (uInt)");
    EXPECT_EQ(editor.row.FunctionName, "Read Holding");

    // Another family's bytes are not read as types.
    choose(4);
    for (int i : {0, 1, 4})
        pickType(i, "uLong");
    ASSERT_TRUE(editor.CompilaComando());
    ASSERT_EQ(slot(1)[0], 0x22);
    choose(21);
    for (int i : {0, 2, 4})
        EXPECT_EQ(row(i).Type.Text, "uInt") << i;
    choose(46);
    EXPECT_EQ(row(0).Type.Text, "uInt");
    EXPECT_EQ(row(4).Type.Text, "Direct");

    // Pointer types only on models with them.
    choose(18);
    EXPECT_EQ(row(0).Type.Items.size(), 6u);
    model().EditorFeatureA = -1;
    choose(18);
    ASSERT_EQ(row(0).Type.Items.size(), 11u);
    EXPECT_EQ(row(0).Type.Items[10].Data, 12);

    // The window tests switch modules; the list shows the names of the loaded brand.
    shell.ModelNames[10] = "WX-E7734";
    choose(2);
    EXPECT_EQ(row(0).Value.Items.size(), 13u);
    EXPECT_EQ(row(0).Value.Text, "WX-E7734");
    EXPECT_EQ(row(0).Value.Items[1].Text, "JXV7924"); // no name loaded: the default set's
}
