#include <gtest/gtest.h>

#include "devconfig/model_entries.h"
#include "devconfig/module_memory.h"
#include "devconfig_session.h"

namespace {

TypeRows variantRows(std::initializer_list<uint8_t> codes) {
    TypeRows rows;
    FillTypeRows(rows, TypesOf(entry::EightChannelVariant));
    size_t k = 0;
    for (uint8_t c : codes)
        rows[k++].selectCode(c);
    return rows;
}

TEST(ModuleMemory, WriteGoesToBothSubAddressesInsideTheBracket) {
    DevconfigSession d;
    d.sim.answerSubAddress(246);
    ASSERT_TRUE(d.connect());
    EXPECT_TRUE(WriteChannelTypes(d.app, 10, variantRows({2, 3, 4, 5, 13, 0, 17, 18})));
    const std::vector<Bytes> expected{{10, 6, 0, 17, 0xF6, 0xF7},
                                      {0xF7, 20, 4, 0, 0, 11, 6, 2, 3, 4, 5, 13, 0},
                                      {0xF6, 20, 4, 0, 0, 11, 2, 17, 18},
                                      {10, 6, 0, 17, 0, 0}};
    EXPECT_EQ(d.sim.transcript(), expected);
    EXPECT_EQ(d.sim.subMemory(247, 11, 6), (Bytes{2, 3, 4, 5, 13, 0}));
    EXPECT_EQ(d.sim.subMemory(246, 11, 2), (Bytes{17, 18}));
}

TEST(ModuleMemory, ReadWithSilentSecondSubAddressKeepsItsChannels) {
    DevconfigSession d;
    ASSERT_TRUE(d.connect());
    d.sim.setSubMemory(247, 11, {1, 2, 3, 4, 5, 99, 7, 8}); // 99: no entry carries it
    TypeRows rows = variantRows({0, 0, 0, 0, 0, 13, 14, 15});
    ReadChannelTypes(d.app, 10, rows);
    std::vector<int> codes;
    for (const TypeRow& r : rows)
        codes.push_back(r.selected()->Code);
    EXPECT_EQ(codes, (std::vector<int>{1, 2, 3, 4, 5, 13, 14, 15}));
    EXPECT_EQ(d.errors(), 1);
    EXPECT_EQ(d.sim.transcript()[1], (Bytes{0xF7, 20, 2, 0, 0, 11, 8}));
    EXPECT_EQ(d.sim.transcript()[2], (Bytes{0xF6, 20, 2, 0, 0, 11, 8}));
    EXPECT_EQ(d.sim.transcript().back(), (Bytes{10, 6, 0, 17, 0, 0}));
    EXPECT_EQ(d.sim.holding(17), 0);
}

TEST(ModuleMemory, ChannelWithoutTypeRefusesTheWholeWrite) {
    DevconfigSession d;
    ASSERT_TRUE(d.connect());
    TypeRows rows = variantRows({2, 3, 4, 5, 13, 0, 17});
    EXPECT_FALSE(WriteChannelTypes(d.app, 10, rows));
    EXPECT_TRUE(d.sim.transcript().empty());
    EXPECT_EQ(d.s.dialogs.shown.size(), 1u);
    EXPECT_EQ(d.sim.holding(17), 0);
}

TEST(ModuleMemory, DisplayTypeWriteSetsBit15AroundIt) {
    DevconfigSession d;
    ASSERT_TRUE(d.connect());
    TypeRows rows;
    FillTypeRows(rows, TypesOf(entry::JXV8480AI));
    rows[0].selectCode(13);

    d.sim.inject({SimFault::Exception, 0, 2}); // register 10 cannot be read: nothing is written
    EXPECT_FALSE(WriteDisplayType(d.app, 10, rows));
    EXPECT_EQ(d.sim.transcript().size(), 1u);

    d.sim.clearTranscript();
    d.sim.setInput(10, 0x8005); // bit 15 already set: OR keeps the value in range
    EXPECT_TRUE(WriteDisplayType(d.app, 10, rows));
    const std::vector<Bytes> expected{{10, 4, 0, 10, 0, 1},
                                      {10, 6, 0, 17, 0, 0},
                                      {10, 6, 0, 10, 0x80, 0x05},
                                      {10, 6, 0, 34, 0, 13},
                                      {10, 6, 0, 10, 0x80, 0x05}};
    EXPECT_EQ(d.sim.transcript(), expected);
    EXPECT_EQ(d.pump.paused, 2.5);
    EXPECT_EQ(d.errors(), 1); // the failed read only
}

} // namespace
