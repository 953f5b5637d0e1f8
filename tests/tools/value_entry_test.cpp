// Value entry per type against the simulated controller: what reaches the registers, and values
// outside the type's range refused with nothing sent.
#include "core/value_type_codes.h"
#include "tool_fixture.h"
#include "tools/value_entry.h"

namespace {

class ValueEntryTest : public ToolFixture {};

TEST_F(ValueEntryTest, WritesEachTypeAndRefusesValuesOutOfRange) {
    struct Case {
        uint8_t type;
        const char* text;
        std::vector<uint16_t> registers; // holding 20, 21 afterwards; empty: refused
    };
    // clang-format off
    const Case cases[] = {
        {KindInt, "-2", {0xFFFE, 0}}, {KindInt, "-32769", {}}, {KindInt, "1.5", {}},
        {KindUInt, " 65535 ", {0xFFFF, 0}}, {KindUInt, "65536", {}}, {KindUInt, "-1", {}},
        {KindLong, "-70000", {0xFFFE, 0xEE90}}, {KindLong, "2147483648", {}},
        {KindULong, "4294967295", {0xFFFF, 0xFFFF}}, {KindULong, "-1", {}},
        {KindFloat, "1,5", {0x0000, 0x3FC0}}, {KindFloat, "1e39", {}}, {KindFloat, "nan", {}},
        {KindHex, "BEEF", {0xBEEF, 0}}, {KindHex, "10000", {}}, {KindBin, "101", {5, 0}}, {KindBin, "12", {}},
        {KindAscii, "AB", {0x4241, 0}}, {KindAscii, "ABC", {}},
    };
    // clang-format on
    ValueEntry entry(s.app);
    entry.Register = 20;
    for (const Case& c : cases) {
        sim.setHolding(20, 0);
        sim.setHolding(21, 0);
        sim.clearTranscript();
        entry.ValueType = c.type;
        EXPECT_EQ(entry.write(c.text), !c.registers.empty()) << c.text;
        if (c.registers.empty())
            EXPECT_TRUE(sim.transcript().empty()) << c.text;
        else
            EXPECT_EQ((std::vector<uint16_t>{sim.holding(20), sim.holding(21)}), c.registers) << c.text;
    }
}

} // namespace
