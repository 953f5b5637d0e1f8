#include <gtest/gtest.h>

#include "editor_fixture.h"

using CommBlocks = EditorTest;

TEST_F(CommBlocks, ReadHoldingRecordAndRow) {
    choose(40);
    for (auto [i, t] : {std::pair{0, "1"}, {1, "100"}, {2, "10"}, {4, "%R30"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    const CommandRecord& r = rung();
    EXPECT_EQ(r.FunctionType, 4);
    EXPECT_EQ(r.Opcode, 0);
    EXPECT_EQ(r.SubOp, 0);
    const std::array<Bytes, 8> expected = {Bytes{1, 0, 0, 0}, {100, 0, 0, 0}, {10, 0, 0, 0}, {30, 0, 0, 0},
                                           {10, 0, 0, 0},     {0, 0, 0, 0},   {0, 0, 0, 0},  {0, 0, 0, 0}};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(slot(k), expected[static_cast<size_t>(k)]) << k;
    EXPECT_EQ(r.Delay, 10);
    EXPECT_EQ(r.DataSize, 0);
    EXPECT_EQ(r.EncodedFlag, -1);
    EXPECT_EQ(r.ArgTexts[4], "%R30");
    EXPECT_EQ(editor.row.Summary, "[ 1 , 100 , 10 , %R30 ]");
    EXPECT_EQ(editor.row.ArgCaptions[0], "Address");
    EXPECT_EQ(editor.row.ArgCaptions[2], "Number");
    EXPECT_EQ(editor.row.ArgCaptions[4], "Dest (uInt)");
    EXPECT_EQ(editor.row.FunctionName, "Read Holding");
    EXPECT_EQ(editor.row.Colour, 0x01FF00u);
    EXPECT_EQ(editor.row.Picture, 4);
    EXPECT_TRUE(editor.row.ValueVisible[4]);
    EXPECT_FALSE(editor.row.ValueVisible[3]);
}

TEST_F(CommBlocks, DelayTakesBothBytes) {
    choose(1);
    editor.state.Delay = "300";
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(4), (Bytes{44, 0, 0, 0}));
    EXPECT_EQ(slot(5), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(rung().Delay, 300);
    EXPECT_EQ(slot(3), (Bytes{26, 0, 0, 0}));
}

TEST_F(CommBlocks, DelayOutsideSixteenBitsIsRejected) {
    choose(40);
    editor.state.Delay = "65536";
    EXPECT_FALSE(editor.CompilaComando());
    editor.state.Delay = "-32769";
    EXPECT_FALSE(editor.CompilaComando());
    editor.state.Delay = "-1";
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().Delay, 65535);
}

TEST_F(CommBlocks, SetUpRowsPerFamily) {
    choose(40);
    EXPECT_EQ(row(0).Caption, "Address");
    EXPECT_EQ(row(0).Value.Text, "1");
    EXPECT_EQ(row(4).Caption, "Dest");
    EXPECT_EQ(row(4).Value.Text, "%R26");
    EXPECT_EQ(row(4).Type.Text, "uInt");
    EXPECT_FALSE(row(3).Value.Visible);
    EXPECT_TRUE(editor.state.DelayVisible);
    EXPECT_EQ(editor.state.Delay, "10");
    EXPECT_EQ(editor.state.DelayCaption, "Delay");

    choose(65); // Write Single: no "Number" row
    EXPECT_FALSE(row(2).Value.Visible);
    EXPECT_EQ(row(4).Caption, "Source");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(2), (Bytes{0, 0, 0, 0}));

    choose(63);
    EXPECT_EQ(row(0).Caption, "Block");
    ASSERT_EQ(row(0).Type.Items.size(), 1u);
    EXPECT_EQ(row(0).Type.Text, "Punt->uInt");
    EXPECT_EQ(editor.Args[0].Kind, 8);

    choose(64); // Write (pointer): no rows, no delay
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(row(i).Value.Visible);
    EXPECT_FALSE(editor.state.DelayVisible);
    choose(4);
    EXPECT_FALSE(editor.state.DelayVisible);
}

TEST_F(CommBlocks, PointerWriteKeepsTheSlots) {
    rung().ArgBytes[2] = {9, 8, 7, 6};
    choose(64);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(2), (Bytes{9, 8, 7, 6}));
    EXPECT_EQ(rung().FunctionType, 15);
    EXPECT_EQ(rung().EncodedFlag, -1);
}

TEST_F(CommBlocks, PointerReadWritesBlockAndDest) {
    choose(63);
    editor.setRowText(0, "5");
    editor.setRowText(4, "%R31");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{5, 0, 0, 0}));
    EXPECT_EQ(slot(3), (Bytes{31, 0, 0, 0}));
    EXPECT_EQ(editor.row.Summary, "[ 5 , %R31 ]");
    EXPECT_EQ(editor.row.ArgCaptions[4], "Dest (uInt)");
}

TEST_F(CommBlocks, DeviceListsFollowTheModule) {
    choose(2);
    EXPECT_EQ(row(0).Value.Items.size(), 13u);
    EXPECT_EQ(row(0).Value.Text, "JXV7734");
    EXPECT_EQ(row(4).Value.Text, "Analog In");
    EXPECT_EQ(row(7).Caption, "Dest");
    EXPECT_EQ(row(7).Type.Text, "Int");

    editor.setRowText(0, "JXV7243");
    editor.rowClick(0);
    ASSERT_EQ(row(4).Value.Items.size(), 3u);
    EXPECT_EQ(row(4).Value.Items[2].Text, "CJC Value");
    EXPECT_EQ(row(4).Value.Items[2].Data, 13);
    EXPECT_EQ(row(4).Value.Text, "Analog In");

    editor.setRowText(0, "JXV7106"); // module code 22
    editor.rowClick(0);
    EXPECT_FALSE(row(5).Value.Visible);
    EXPECT_FALSE(row(6).CaptionVisible);
    EXPECT_EQ(row(5).Value.Text, "0");
    EXPECT_EQ(row(4).Value.Text, "Digital In");
    EXPECT_EQ(editor.CanaleMax, 15);
    EXPECT_EQ(editor.NumeroCanali, 16);

    editor.rowClick(3); // only row 0 acts
    EXPECT_EQ(editor.CanaleMax, 15);

    choose(9);
    EXPECT_EQ(row(0).Value.Items.size(), 6u);
    EXPECT_EQ(row(0).Value.Text, "JXV7541");
    EXPECT_EQ(row(4).Value.Text, "Analog Out");
    EXPECT_EQ(row(7).Caption, "Source");
}

TEST_F(CommBlocks, WriteDeviceByModulePosition) {
    choose(9);
    for (auto [i, t] : {std::pair{1, "2"}, {5, "0"}, {6, "5"}, {7, "%R40"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(slot(1), (Bytes{14, 0, 0, 0}));
    EXPECT_EQ(slot(2), (Bytes{6, 0, 0, 0}));
    EXPECT_EQ(slot(3), (Bytes{40, 0, 0, 0}));
    EXPECT_EQ(editor.row.Summary, "[ JXV7541 , 2 , Analog Out , 0 , 5 , %R40 ]");
    EXPECT_EQ(editor.row.ArgCaptions[7], "Source (Int)");

    editor.setRowText(0, "JXV7038"); // list position 3
    editor.rowClick(0);
    editor.setRowText(5, "2");
    editor.setRowText(6, "4");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(1), (Bytes{9, 0, 0, 0}));
    EXPECT_EQ(slot(2), (Bytes{1, 0, 0, 0}));
}

TEST_F(CommBlocks, ReadDeviceFromTheChosenResource) {
    choose(2);
    editor.setRowText(0, "JXV7243");
    editor.rowClick(0);
    for (auto [i, t] : {std::pair{1, "3"}, {4, "CJC Value"}, {5, "2"}, {6, "5"}, {7, "%R40"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().FunctionType, 2);
    EXPECT_EQ(rung().Opcode, 1);
    EXPECT_EQ(slot(0), (Bytes{3, 0, 0, 0}));
    EXPECT_EQ(slot(1), (Bytes{15, 0, 0, 0}));
    EXPECT_EQ(slot(2), (Bytes{4, 0, 0, 0}));
    EXPECT_EQ(slot(3), (Bytes{40, 0, 0, 0}));
    EXPECT_EQ(editor.Args[2].Value, 15);
    EXPECT_EQ(editor.Args[3].Value, 4);
}

TEST_F(CommBlocks, ChannelRangeIsALowerAndUpperBound) {
    choose(9);
    auto range = [&](const char* from, const char* to) {
        editor.setRowText(5, from);
        editor.setRowText(6, to);
        return editor.CompilaComando();
    };
    EXPECT_TRUE(range("1", "5")); // any From at or above the lowest channel
    EXPECT_TRUE(range("7", "7"));
    EXPECT_FALSE(range("3", "2")); // From above To
    EXPECT_FALSE(range("0", "8")); // To beyond the highest channel
    EXPECT_FALSE(range("-1", "3"));
}

TEST_F(CommBlocks, ModuleNamesOfTheBrandingSet) {
    shell.ModelNames[10] = "WX-E7734";
    shell.ModelNames[23] = "WX-E7556";
    choose(2);
    EXPECT_EQ(row(0).Value.Items[0].Text, "WX-E7734");
    EXPECT_EQ(row(0).Value.Items[12].Text, "WX-E7556");
    EXPECT_EQ(row(0).Value.Items[1].Text, "JXV7924"); // no name loaded: the default set's
    EXPECT_EQ(row(0).Value.Text, "WX-E7734");
}
