#include <gtest/gtest.h>

#include "editor_fixture.h"

using FlowBlocks = EditorTest;

TEST_F(FlowBlocks, IfBitMask) {
    choose(13);
    EXPECT_EQ(row(1).Caption, "Bit [0\xF7"
                              "15]");
    EXPECT_EQ(row(4).Caption, "Goto if True");
    EXPECT_EQ(row(5).Caption, "Goto if False");
    editor.setRowText(1, "15");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(slot(7), (Bytes{0x80, 0, 0, 0}));
    for (int k = 1; k < 7; ++k)
        EXPECT_EQ(slot(k), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(rung().DataSize, 34);
    EXPECT_EQ(editor.row.ArgCaptions[0], "Source (uInt)");
    editor.setRowText(1, "0");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(7), (Bytes{0, 1, 0, 0}));
    for (const char* bad : {"16", "1.5", "-1"}) {
        editor.setRowText(1, bad);
        EXPECT_FALSE(editor.CompilaComando()) << bad;
    }
    choose(42);
    EXPECT_FALSE(row(5).Value.Visible);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(rung().Opcode, 139);
}

TEST_F(FlowBlocks, ReturnCallAndWatchdog) {
    for (auto& s : rung().ArgBytes)
        s = {5, 5, 5, 5};
    choose(15);
    ASSERT_TRUE(editor.CompilaComando());
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(slot(k), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(slot(8), (Bytes{5, 5, 5, 5}));
    EXPECT_EQ(rung().DataSize, 2);

    rung().ArgBytes[0] = {5, 5, 5, 5};
    choose(14);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{5, 5, 5, 5}));
    EXPECT_EQ(rung().DataSize, 6);

    choose(45);
    EXPECT_EQ(row(4).Caption, "Delay(*50mS)");
    EXPECT_FALSE(row(4).Type.Visible);
    editor.setRowText(4, "20");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{20, 0, 0, 0}));
    EXPECT_EQ(editor.row.Summary, "[ 20 ]");
}

TEST_F(FlowBlocks, DisplayBlocks) {
    choose(43);
    EXPECT_EQ(editor.work().SubOp, 253);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0)[0], 253);
    EXPECT_EQ(rung().SubOp, 253);
    EXPECT_EQ(rung().DataSize, 34);
    choose(44);
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0)[0], 254);
    EXPECT_EQ(rung().DataSize, 6);
}

TEST_F(FlowBlocks, ComparisonTypeBytes) {
    choose(49);
    EXPECT_EQ(row(0).Caption, "Input A");
    EXPECT_EQ(row(0).Type.Text, "Int");
    EXPECT_EQ(row(3).Type.Text, ""); // Int is not offered for Dest
    EXPECT_FALSE(row(2).Value.Visible);
    pickType(1, "K_Flt");
    editor.setRowText(1, "2.5");
    editor.setRowText(3, "%R30");
    pickType(3, "uLong");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0)[0], 2);
    EXPECT_EQ(slot(1), (Bytes{0x15, 0x12, 0, 0}));
    EXPECT_EQ(slot(2), (Bytes{0, 0, 1, 0}));
    EXPECT_EQ(slot(3), (Bytes{0, 0, 0x20, 0x40}));
    EXPECT_EQ(slot(5), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(slot(7), (Bytes{30, 0, 0, 0}));
    EXPECT_EQ(rung().DataSize, 34);
    EXPECT_EQ(editor.row.ArgCaptions[1], "Input B (K_Flt)");
    EXPECT_EQ(editor.row.Summary, "[ %R26 , 2.5 ,  , %R30 , 1 ]");
    choose(49);
    EXPECT_EQ(row(1).Type.Text, "K_Flt");
    EXPECT_EQ(row(3).Type.Text, "uLong");
}

TEST_F(FlowBlocks, LimitTypeBytes) {
    choose(53);
    EXPECT_EQ(row(2).Caption, "MIN");
    EXPECT_EQ(row(1).Caption, "MAX");
    pickType(2, "Long");
    pickType(1, "uInt");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(1)[0], 48);
    EXPECT_EQ(slot(0)[0], 6);
}

TEST_F(FlowBlocks, CompareRows) {
    choose(10);
    EXPECT_EQ(row(4).Caption, "And if True");
    EXPECT_EQ(row(7).Value.Text, "0");
    editor.setRowText(0, "300");
    editor.setRowText(4, "300");
    editor.setRowText(2, "1");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{44, 1, 0, 0}));
    EXPECT_EQ(slot(3), (Bytes{1, 44, 0, 0}));
    EXPECT_EQ(slot(7), (Bytes{0, 1, 0, 0}));
    EXPECT_EQ(rung().DataSize, 34);
    editor.setRowText(5, "70000");
    EXPECT_FALSE(editor.CompilaComando());
}

TEST_F(FlowBlocks, WhileLoop) {
    choose(66);
    EXPECT_EQ(row(1).Type.Text, "K_Flt");
    EXPECT_EQ(row(4).Caption, "Call");
    pickType(0, "Int");
    editor.setRowText(1, "10");
    ASSERT_TRUE(editor.CompilaComando());
    EXPECT_EQ(slot(0), (Bytes{1, 5, 0, 0}));
    EXPECT_EQ(slot(1), (Bytes{26, 0, 0, 0}));
    EXPECT_EQ(slot(2), (Bytes{0, 0, 0x20, 0x41}));
    EXPECT_EQ(rung().DataSize, 18);
    pickType(1, "Int");
    ASSERT_TRUE(editor.CompilaComando());
    choose(66); // the limit's type comes back like the source's
    EXPECT_EQ(row(1).Type.Text, "Int");
    EXPECT_EQ(row(0).Type.Text, "Int");
}
