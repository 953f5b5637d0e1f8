#include <gtest/gtest.h>

#include "editor_fixture.h"

using LogicBlocks = EditorTest;

TEST_F(LogicBlocks, TimerRecord) {
    choose(16);
    EXPECT_EQ(row(0).Caption, "Timer");
    EXPECT_EQ(row(1).Value.Text, "1000");
    EXPECT_EQ(row(2).Value.Text, "%R26");
    for (auto [i, t] : {std::pair{0, "3"}, {1, "1000"}, {2, "%R40"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{3, 0, 0, 0}));
    EXPECT_EQ(slot(1), (Bytes{0xE8, 0x03, 0x28, 0x00}));
    for (int k = 2; k < 8; ++k)
        EXPECT_EQ(slot(k), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(rung().DataSize, 10);
    EXPECT_EQ(editor.row.Summary, "[ 3 , 1000 , %R40 ]");
    EXPECT_EQ(editor.row.ArgCaptions[1], "mSec");
    EXPECT_EQ(editor.row.ArgCaptions[2], "");
    for (auto [i, t] : {std::pair{1, "70000"}, {1, "-40000"}}) {
        editor.setRowText(i, t);
        EXPECT_FALSE(editor.CompilaComando()) << t;
    }
    editor.setRowText(1, "1000");
    editor.setRowText(2, "%R65536");
    EXPECT_FALSE(editor.CompilaComando());
    EXPECT_EQ(slot(1), (Bytes{0xE8, 0x03, 0x28, 0x00}));
}

TEST_F(LogicBlocks, WordOperationMaskIsSwapped) {
    rung().ArgBytes[4] = {9, 9, 9, 9};
    choose(21);
    EXPECT_EQ(row(0).Caption, "Source A");
    EXPECT_EQ(row(2).Caption, "Source B");
    EXPECT_EQ(row(5).Caption, "Mask");
    editor.setRowText(5, "4660");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0)[0], 0);
    EXPECT_EQ(slot(2), (Bytes{0x00, 0x00, 0x12, 0x34}));
    EXPECT_EQ(slot(3), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(slot(4), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(slot(5), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(slot(6), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(slot(7), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(rung().DataSize, 34);
    EXPECT_EQ(editor.row.Summary, "[ %R26 ,  , %R26 ,  , %R26 , 4660 ]");
    EXPECT_EQ(editor.row.ArgCaptions[5], "Mask");
    EXPECT_EQ(editor.row.ArgCaptions[4], "Dest (uInt)");
}

TEST_F(LogicBlocks, NotKeepsOnlyTheSourceType) {
    rung().ArgBytes[4] = {9, 9, 9, 9};
    choose(24);
    EXPECT_EQ(row(0).Caption, "SourceA");
    pickType(0, "K_Long");
    editor.setRowText(0, "70000");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(1), (Bytes{6, 0, 0, 0}));
    EXPECT_EQ(slot(3), (Bytes{0x01, 0x00, 0x70, 0x11}));
    EXPECT_EQ(slot(4), (Bytes{9, 9, 9, 9}));
}

TEST_F(LogicBlocks, BitSetAndResetUseTheBitOperations) {
    choose(36);
    EXPECT_FALSE(row(0).Value.Visible);
    editor.setRowText(5, "4");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().SubOp, 13);
    EXPECT_EQ(slot(0)[0], 9);
    EXPECT_EQ(slot(1)[0], 0x66);
    EXPECT_EQ(slot(2), (Bytes{0, 0, 4, 0}));
    for (int k : {3, 4, 5, 6})
        EXPECT_EQ(slot(k), (Bytes{0, 0, 0xFF, 0xFF})) << k;
    choose(37);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().SubOp, 14);
    EXPECT_EQ(slot(0)[0], 8);
    EXPECT_EQ(slot(3), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(slot(4), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(slot(5), (Bytes{0, 0, 0xFF, 0xFF}));
}

TEST_F(LogicBlocks, ShiftsLeaveTheSecondSource) {
    rung().ArgBytes[4] = {9, 9, 9, 9};
    choose(26);
    EXPECT_EQ(row(2).Caption, "Number");
    editor.setRowText(2, "3");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0)[0], 5);
    EXPECT_EQ(slot(2), (Bytes{3, 0, 0, 0}));
    EXPECT_EQ(slot(4), (Bytes{9, 9, 9, 9}));
    EXPECT_EQ(slot(5), (Bytes{0, 0, 0, 0}));
}

TEST_F(LogicBlocks, BitOperationsStoreAndReopenTheirTypes) {
    choose(33);
    EXPECT_EQ(row(1).Caption, "Mask A");
    EXPECT_EQ(row(5).Caption, "Mask Dest");
    pickType(0, "uLong");
    pickType(2, "K_Long");
    pickType(4, "uLong");
    editor.setRowText(1, "4660");
    editor.setRowText(2, "7");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(1), (Bytes{0x62, 0x02, 0, 0}));
    EXPECT_EQ(slot(4), (Bytes{0, 0, 7, 0}));
    EXPECT_EQ(slot(5), (Bytes{0, 0, 0x34, 0x12}));
    choose(33);
    EXPECT_EQ(row(0).Type.Text, "uLong");
    EXPECT_EQ(row(2).Type.Text, "K_Long");
    EXPECT_EQ(row(4).Type.Text, "uLong");
    EXPECT_EQ(row(1).Type.Text, "K_Long");
}

TEST_F(LogicBlocks, EdgeOperationsRepeatTheirMask) {
    choose(58);
    EXPECT_EQ(row(0).Type.Items.size(), 1u);
    EXPECT_EQ(row(1).Caption, "Mask Source");
    EXPECT_EQ(row(2).Caption, "Latch");
    editor.setRowText(1, "258");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0)[0], 15);
    for (int k : {2, 5, 6})
        EXPECT_EQ(slot(k), (Bytes{0, 0, 1, 2})) << k;
}

TEST_F(LogicBlocks, OtherFamiliesBytesAreNotReadAsTypes) {
    choose(4);
    pickType(0, "uLong");
    pickType(1, "uLong");
    pickType(4, "uLong");
    ASSERT_TRUE(editor.CompilaComando());
    ASSERT_EQ(slot(1)[0], 0x22);
    choose(21);
    EXPECT_EQ(row(0).Type.Text, "uInt");
    EXPECT_EQ(row(2).Type.Text, "uInt");
    EXPECT_EQ(row(4).Type.Text, "uInt");
}

TEST_F(LogicBlocks, TripRecord) {
    choose(20);
    EXPECT_EQ(row(0).Type.Text, "Int");
    EXPECT_EQ(row(3).Type.Text, "uInt");
    pickType(1, "K_Flt");
    editor.setRowText(1, "2.5");
    pickType(3, "uLong");
    editor.setRowText(5, "3");
    editor.setRowText(6, "1000");
    editor.setRowText(7, "300");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0)[0], 0);
    EXPECT_EQ(slot(1), (Bytes{0x15, 0x12, 3, 0}));
    EXPECT_EQ(slot(3), (Bytes{0, 0, 0x20, 0x40}));
    EXPECT_EQ(slot(5), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(slot(2), (Bytes{0, 0, 1, 0}));
    EXPECT_EQ(slot(6), (Bytes{0xE8, 0x03, 0x2C, 0x01}));
    EXPECT_EQ(slot(7), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(rung().DataSize, 34);
    EXPECT_EQ(editor.row.ArgCaptions[3], "Dest (uLong)");
    EXPECT_EQ(editor.row.ArgCaptions[7], "Timer OFF");
    choose(20);
    EXPECT_EQ(row(3).Type.Text, "uLong");
    EXPECT_EQ(row(1).Type.Text, "K_Flt");
    editor.setRowText(5, "256"); // the trip timer is one byte
    EXPECT_FALSE(editor.CompilaComando());
    editor.setRowText(5, "3");
    editor.setRowText(6, "65536");
    EXPECT_FALSE(editor.CompilaComando());
}

TEST_F(LogicBlocks, LogWriteFixedBytes) {
    rung().Delay = 7;
    choose(41);
    for (int i = 0; i < 8; ++i)
        EXPECT_FALSE(row(i).Value.Visible);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{0, 1, 2, 3}));
    EXPECT_EQ(slot(1), (Bytes{4, 127, 0, 0}));
    EXPECT_EQ(rung().DataSize, 10);
    EXPECT_EQ(rung().Delay, 7);
    EXPECT_EQ(rung().Opcode, 138);
}
