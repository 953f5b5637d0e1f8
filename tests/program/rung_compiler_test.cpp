// Rung entries, operation blocks, trigger data and linearization tables.
#include <cstring>

#include "compile_fixture.h"

using Bytes = std::vector<uint8_t>;

TEST_F(CompileFixture, OperationBlockWorkedExample) {
    add(deviceRung(2, {1}));
    add(deviceRung(2, {1}));
    add(operation(20, 0, 246)); // data 54..299
    add(deviceRung(2, {1}));
    CommandRecord& r = add(operation(141, 2, 14));
    r.ArgBytes[0] = {1, 2, 3, 4};
    r.ArgBytes[1] = {5, 6, 7, 8};
    r.ArgBytes[2] = {9, 10, 11, 12};
    r.ArgBytes[7] = {13, 14, 15, 16};
    EXPECT_EQ(compile(), 314);
    EXPECT_EQ(bytes(44, 10), (Bytes{3, 2, 0, 44, 1, 0, 0, 14, 0, 0}));
    EXPECT_EQ(bytes(300, 14), (Bytes{141, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    // The block head is always written whole: its tail lies beyond the used size.
    EXPECT_EQ(bytes(330, 4), (Bytes{13, 14, 15, 16}));
}

TEST_F(CompileFixture, DeviceAndPointerEntriesCarryTheirSlotsHighByteFirst) {
    add(deviceRung(9, {17, 300, 5, 0x1234, 8, 9}));
    add(deviceRung(14, {0x0A0B, 0xFFFF, 0xFFFF, 0x0102, 3, 4}));
    add(deviceRung(11, {0x0A0B}));
    add(deviceRung(12, {0x0A0B}));
    project.Program.Sections[0].Rungs[1].BreakFlag = -1;
    EXPECT_EQ(compile(), 44);
    EXPECT_EQ(bytes(4, 10), (Bytes{9, 17, 1, 44, 5, 0x12, 0x34, 8, 9, 1}));
    EXPECT_EQ(bytes(14, 10), (Bytes{14, 0, 0x0A, 0x0B, 0, 0x01, 0x02, 3, 4, 0}));
    EXPECT_EQ(image()[24], 11);
    EXPECT_EQ(image()[34], 12);
}

TEST_F(CompileFixture, BreakAndTriggerFlags) {
    useRow(TriggerRow);
    CommandRecord& a = add(operation(20, 0, 6));
    a.BreakFlag = -1;
    CommandRecord& b = add(operation(21, 0, 6));
    b.BreakFlag = -1;
    b.TriggerFlag = -1;
    b.TriggerRegister = 0x0102;
    b.TriggerMask = 0x8000;
    EXPECT_EQ(compile(), 24 + 6 + 10);
    EXPECT_EQ(bytes(4, 10), (Bytes{3, 1, 0, 24, 0, 0, 0, 6, 0, 1}));
    EXPECT_EQ(bytes(14, 10), (Bytes{3, 2, 0, 30, 0, 0, 0, 10, 0, 3}));
    EXPECT_EQ(bytes(30, 2), (Bytes{21, 0}));
    EXPECT_EQ(bytes(36, 4), (Bytes{0x02, 0x01, 0x00, 0x80}));
}

TEST_F(CompileFixture, TriggerIsIgnoredOnModelsWithoutTrigger) {
    CommandRecord& b = add(operation(21, 0, 6));
    b.TriggerFlag = -1;
    b.TriggerRegister = 7;
    EXPECT_EQ(compile(), 14 + 6);
    EXPECT_EQ(bytes(4, 10), (Bytes{3, 1, 0, 14, 0, 0, 0, 6, 0, 0}));
}

TEST_F(CompileFixture, DisplayRefreshWrites254IntoEveryArgument) {
    CommandRecord& r = add(operation(3, 254, 34));
    for (auto& s : r.ArgBytes) s = {1, 2, 3, 4};
    compile();
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(image()[14 + 2 + 4 * i], 254);
        EXPECT_EQ(image()[14 + 3 + 4 * i], 2);
    }
}

namespace {
uint32_t singleBits(float f) {
    uint32_t b;
    std::memcpy(&b, &f, 4);
    return b;
}
} // namespace

TEST_F(CompileFixture, LinearizationEmbedsTheTableAndPointsTheBlockAtIt) {
    LookupTable& t = project.Tables.Tables[1];
    project.Tables.Count = 2;
    t.PointCount = 26;
    for (int k = 0; k < 26; ++k) {
        t.Inputs[static_cast<size_t>(k)] = k * 0.5;
        t.Outputs[static_cast<size_t>(k)] = -k;
    }
    CommandRecord& r = add(operation(1, 8, 26));
    r.ArgBytes[2] = {1, 0, 0, 0};
    EXPECT_EQ(compile(), 14 + 234);
    EXPECT_EQ(bytes(4, 10), (Bytes{3, 1, 0, 14, 0, 0, 0, 234, 0, 0}));
    // Inputs at image 14 + 26 = 40, controller 552 = 0x228; outputs 104 bytes later, 656 = 0x290.
    EXPECT_EQ(r.ArgBytes[4][0] | r.ArgBytes[4][1] << 8, 552);
    EXPECT_EQ(r.ArgBytes[5][0], 26);
    EXPECT_EQ(r.ArgBytes[5][1], 1);
    EXPECT_EQ(r.ArgBytes[6][0] | r.ArgBytes[6][1] << 8, 656);
    EXPECT_EQ(bytes(14 + 18, 2), (Bytes{0x28, 0x02}));
    EXPECT_EQ(bytes(14 + 22, 2), (Bytes{26, 1}));
    EXPECT_EQ(bytes(14 + 26, 4), (Bytes{0x00, 0x00, 0x00, 0x00})); // input 0 overwrote the block tail
    uint32_t in1 = singleBits(0.5f), out25 = singleBits(-25.0f);
    EXPECT_EQ(bytes(44, 4), (Bytes{uint8_t(in1), uint8_t(in1 >> 8), uint8_t(in1 >> 16), uint8_t(in1 >> 24)}));
    EXPECT_EQ(bytes(144 + 100, 4),
              (Bytes{uint8_t(out25), uint8_t(out25 >> 8), uint8_t(out25 >> 16), uint8_t(out25 >> 24)}));
}

TEST_F(CompileFixture, BrokenFormatLimitsAreRungErrorsNotWrappedBytes) {
    project.Tables.Count = 1;
    project.Tables.Tables[0].PointCount = 26;
    add(operation(300, 0, 6));             // opcode beyond a byte
    add(operation(20, 0, 256));            // size byte beyond 255
    CommandRecord& lin = add(operation(1, 8, 34)); // 34 + 208 fits, table 1 does not exist
    lin.ArgBytes[2] = {1, 0, 0, 0};
    add(operation(1, 8, 50));              // 50 + 208 > 255
    add(deviceRung(2, {1}));
    EXPECT_EQ(compile(), 0);
    std::vector<std::string> lines = report();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[3], " - Function Block 1 : Error");
    EXPECT_EQ(lines[4], " - Function Block 2 : Error");
    EXPECT_EQ(lines[5], " - Function Block 3 : Error");
    EXPECT_EQ(lines[6], " - Function Block 4 : Error");
    EXPECT_EQ(state().EntryCount, 1);
    EXPECT_EQ(bytes(4, 2), (Bytes{2, 1}));
}

TEST_F(CompileFixture, DataBeyondTheImageIsAnErrorNotAnOverrun) {
    for (int i = 0; i < 255; ++i) add(operation(20, 0, 255));
    EXPECT_EQ(compile(), 0);
    // Blocks of 255 bytes from 2554: the 247th would end at 2554 + 247 * 255 = 65539, past the image.
    EXPECT_EQ(state().EntryCount, 246);
    EXPECT_EQ(report().back(), " - Function Block 255 : Error");
}
