#include <gtest/gtest.h>

#include "editor_fixture.h"

using ArithBlocks = EditorTest;

TEST_F(ArithBlocks, AddWithThreeIntRegisters) {
    choose(4);
    for (auto [i, t] : {std::pair{0, "%R26"}, {1, "%R27"}, {4, "%R28"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().FunctionType, 3);
    EXPECT_EQ(rung().Opcode, 1);
    EXPECT_EQ(slot(0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(slot(1), (Bytes{0x11, 0x01, 0, 0}));
    EXPECT_EQ(slot(3), (Bytes{0x1A, 0, 0, 0}));
    EXPECT_EQ(slot(4), (Bytes{0x1B, 0, 0, 0}));
    EXPECT_EQ(slot(5), (Bytes{0, 1, 0, 0})); // no "Block" row on this model
    EXPECT_EQ(slot(7), (Bytes{0x1C, 0, 0, 0}));
    EXPECT_EQ(rung().DataSize, 34);
    EXPECT_EQ(rung().Delay, 0);
    EXPECT_EQ(editor.row.ArgCaptions[0], "Source A (Int)");
    EXPECT_EQ(editor.row.ArgCaptions[1], "Source B (Int)");
    EXPECT_EQ(editor.row.ArgCaptions[4], "Dest (Int)");
    EXPECT_EQ(editor.row.Summary, "[ %R26 , %R27 , %R28 ]");
}

TEST_F(ArithBlocks, OperandFormsAndTheBlockRow) {
    model().EditorFeatureB = -1;
    choose(4);
    EXPECT_TRUE(row(3).Value.Visible);
    EXPECT_EQ(row(3).Caption, "Block");
    EXPECT_EQ(row(3).Value.Text, "1");
    pickType(0, "K_Flt");
    editor.setRowText(0, "2.5");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(3), (Bytes{0x00, 0x00, 0x20, 0x40}));
    EXPECT_EQ(slot(1)[0], 0x15);
    EXPECT_EQ(slot(5), (Bytes{1, 1, 0, 0}));
    pickType(0, "Int");
    editor.setRowText(0, "300");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(3), (Bytes{44, 1, 0, 0}));
    editor.setRowText(3, "256"); // the block count is one byte
    EXPECT_FALSE(editor.CompilaComando());
}

TEST_F(ArithBlocks, MoveCountOnlyWithBlockModels) {
    choose(7);
    EXPECT_FALSE(row(5).Value.Visible);
    model().EditorFeatureB = -1;
    choose(7);
    EXPECT_EQ(row(5).Caption, "Number");
    editor.setRowText(5, "0");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(5)[1], 1);
    editor.setRowText(5, "8");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(5)[1], 8);
    EXPECT_EQ(slot(0)[0], 4);
}

TEST_F(ArithBlocks, OneOperandFunctionsLeaveTheSecondSlot) {
    rung().ArgBytes[4] = {9, 9, 9, 9};
    choose(8);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(4), (Bytes{9, 9, 9, 9}));
    EXPECT_EQ(slot(1), (Bytes{1, 1, 0, 0}));
    EXPECT_EQ(slot(0)[0], 7);
    EXPECT_EQ(editor.row.Summary, "[ %R26 ,  , %R26 ]");
}

TEST_F(ArithBlocks, LinearizationUsesTheNamedTable) {
    addTable("T1", 4);
    addTable("T2", 5);
    addTable("T3", 10);
    choose(30);
    EXPECT_EQ(row(1).Caption, "Function");
    EXPECT_TRUE(row(1).SetVisible);
    EXPECT_TRUE(row(1).Value.Locked);
    EXPECT_EQ(row(1).Value.Text, "T1");
    EXPECT_EQ(row(1).Value.Items.size(), 3u);
    editor.setRowText(1, "T3");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(2), (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(slot(5)[0], 10);
    EXPECT_EQ(slot(1)[0], 0x51);
    EXPECT_EQ(slot(0)[0], 8);
    editor.setRowText(1, "no such table");
    EXPECT_FALSE(editor.CompilaComando());
}

TEST_F(ArithBlocks, LinearizationWithoutTablesFails) {
    choose(30);
    EXPECT_TRUE(row(1).Value.Items.empty());
    EXPECT_FALSE(editor.CompilaComando());
    EXPECT_EQ(rung().EncodedFlag, 0);
}

TEST_F(ArithBlocks, SampleCountsAreBytes) {
    choose(29);
    EXPECT_EQ(row(1).Value.Text, "2");
    editor.setRowText(1, "4");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(4), (Bytes{0, 0, 0x80, 0x40}));
    EXPECT_EQ(slot(5)[0], 4);
    for (const char* bad : {"256", "-1"}) {
        editor.setRowText(1, bad);
        EXPECT_FALSE(editor.CompilaComando()) << bad;
    }
    EXPECT_EQ(slot(5)[0], 4);
}

TEST_F(ArithBlocks, ScaleLayout) {
    choose(3);
    for (auto [i, t] : {std::pair{1, "10"}, {2, "0"}, {5, "100"}, {6, "0"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(1), (Bytes{17, 85, 85, 0}));
    EXPECT_EQ(slot(2), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(slot(3), (Bytes{0, 0, 0x20, 0x41}));
    EXPECT_EQ(slot(4), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(slot(5), (Bytes{0, 0, 0xC8, 0x42}));
    EXPECT_EQ(slot(7), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(rung().DataSize, 34);
    EXPECT_EQ(editor.row.ArgCaptions[6], "Zero Out (K_Flt)");
    EXPECT_EQ(editor.row.Summary, "[ %R26 , 10 , 0 , %R26 , 100 , 0 ]");
    EXPECT_EQ(editor.ArgCorrente, 6);
}

TEST_F(ArithBlocks, CommaBecomesAPoint) {
    choose(3);
    editor.setRowText(1, "12,5");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(row(1).Value.Text, "12.5");
    EXPECT_EQ(rung().ArgTexts[1], "12.5");
    EXPECT_EQ(editor.Args[1].Value, 12.5);
    EXPECT_EQ(slot(3), (Bytes{0, 0, 0x48, 0x41}));
}

TEST_F(ArithBlocks, PidLayout) {
    rung().ArgBytes[6] = {5, 5, 5, 5};
    choose(55);
    EXPECT_FALSE(row(6).Value.Visible);
    for (auto [i, t] : {std::pair{1, "2"}, {2, "0.5"}, {5, "1"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().Opcode, 142);
    EXPECT_EQ(slot(0)[0], 0);
    EXPECT_EQ(slot(1), (Bytes{17, 85, 5, 0}));
    EXPECT_EQ(slot(3), (Bytes{0, 0, 0, 0x40}));
    EXPECT_EQ(slot(4), (Bytes{0, 0, 0, 0x3F}));
    EXPECT_EQ(slot(5), (Bytes{0, 0, 0x80, 0x3F}));
    EXPECT_EQ(slot(6), (Bytes{5, 5, 5, 5}));
    EXPECT_EQ(editor.row.Summary, "[ %R26 , 2 , 0.5 , %R26 , 1 ,  ]");
}

TEST_F(ArithBlocks, BlockMoveLayout) {
    rung().ArgBytes[1][3] = 7;
    choose(46);
    EXPECT_EQ(row(4).Type.Text, "Direct");
    EXPECT_EQ(row(0).Type.Text, "uInt");
    editor.setRowText(1, "4");
    editor.setRowText(4, "%R30");
    pickType(4, "Swap");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{26, 0, 30, 0}));
    EXPECT_EQ(slot(1), (Bytes{4, 0, 1, 7}));
    EXPECT_EQ(rung().DataSize, 10);
    pickType(4, "Direct");
    pickType(0, "uLong");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(1), (Bytes{4, 2, 0, 7}));
    editor.setRowText(1, "300");
    EXPECT_FALSE(editor.CompilaComando());
}

TEST_F(ArithBlocks, SetUpCaptionsAndTypes) {
    choose(4);
    EXPECT_EQ(row(0).Caption, "Source A");
    EXPECT_EQ(row(0).Value.Text, "%R26");
    EXPECT_EQ(row(0).Type.Items.size(), 6u);
    EXPECT_EQ(row(0).Type.Text, "Int");
    EXPECT_EQ(row(1).Caption, "Source B");
    EXPECT_FALSE(row(3).Value.Visible);
    EXPECT_EQ(row(4).Caption, "Dest");
    EXPECT_EQ(row(4).Type.Items.size(), 5u);
    EXPECT_EQ(editor.ArgCorrente, 4);
    EXPECT_EQ(editor.work().SubOp, 0);

    model().EditorFeatureA = -1;
    choose(18);
    EXPECT_EQ(row(0).Type.Items.size(), 11u);
    EXPECT_EQ(row(0).Type.Items[10].Text, "Punt->Float");
    EXPECT_EQ(row(0).Type.Items[10].Data, 12);
    EXPECT_EQ(editor.work().SubOp, 2);

    choose(32); // ABS: one operand
    EXPECT_FALSE(row(1).Value.Visible);
    choose(67);
    EXPECT_EQ(row(1).Caption, "Number");
    EXPECT_EQ(row(1).Type.Text, "K_Flt");
}

TEST_F(ArithBlocks, ReopenedRungsShowTheirStoredTypes) {
    choose(3);
    pickType(0, "uLong");
    pickType(6, "Long");
    ASSERT_TRUE(editor.CompilaComando());
    choose(3);
    EXPECT_EQ(row(0).Type.Text, "uLong");
    EXPECT_EQ(row(6).Type.Text, "Long");
    EXPECT_EQ(row(4).Type.Text, "Int");

    choose(46); // another family: its own defaults, not Scale's bytes
    EXPECT_EQ(row(0).Type.Text, "uInt");
    EXPECT_EQ(row(4).Type.Text, "Direct");
}

TEST_F(ArithBlocks, NumberBeyondTheRangeOfADoubleIsRejected) {
    choose(4);
    for (auto [i, t] : {std::pair{0, "%R26"}, {1, "%R27"}, {4, "%R28"}})
        editor.setRowText(i, t);
    ASSERT_TRUE(editor.CompilaComando());
    const CommandRecord before = rung();
    editor.setRowText(1, "%R1e400"); // read as 0 it would become register 0
    EXPECT_FALSE(editor.CompilaComando());
    EXPECT_EQ(rung(), before);
    pickType(1, "K_Flt");
    editor.setRowText(1, "1e400");
    EXPECT_FALSE(editor.CompilaComando());
    EXPECT_EQ(rung(), before);
}
