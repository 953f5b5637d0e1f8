// The preset variable sets write their slots and leave alternate, trigger, mask and swap alone.
#include <gtest/gtest.h>

#include "project/presets.h"
#include "support/fake_dialogs.h"

namespace {

VariableTable filled(uint8_t count) {
    VariableTable t;
    t.Count = count;
    for (size_t i = 0; i < t.Variables.size(); ++i)
        t.Variables[i] = {7000 + static_cast<int32_t>(i), 3, "%-9.9e", "old", 11, 12, 13, 1, "oldcsv"};
    return t;
}

VariableRecord preset(int32_t reg, uint8_t type, const char* format, const char* name, const char* csv) {
    return {reg, type, format, name, 11, 12, 13, 1, csv};
}

} // namespace

TEST(PresetVariables, SystemSetWritesItsSlotsAndMeterSetTheWholeTableInOrder) {
    VariableTable system = filled(10);
    SetSystemVar(system);
    EXPECT_EQ(system.Count, 10); // fewer than 25 variables: the written slots stay unlisted
    VariableTable meter = filled(3);
    SetNWVar(meter);
    EXPECT_EQ(meter.Count, 165);
    const VariableTable old = filled(0);
    const std::tuple<const VariableTable&, size_t, VariableRecord> rows[] = {
        {system, 24, preset(1024, 0, "%+5.0f", "ddnsSta", "oldcsv")},
        {system, 26, preset(1220, 13, "%-9.9e", "storDir", "oldcsv")},
        {system, 28, preset(7028, 16, "%-9.9e", "Date", "oldcsv")},
        {system, 38, preset(3, 14, "%-9.9e", "Country", "Country")},
        {meter, 0, preset(7000, 16, "%-9.9e", "Date", "oldcsv")},
        {meter, 2, preset(500, 2, "%+5.0f", "Ea+[kWh]", "oldcsv")},
        {meter, 27, preset(600, 2, "%+5.0f", "EAd[0]", "Ea+")},
        {meter, 45, preset(320, 4, "%+5.0f", "HI1r3", "HARM0")},
        {meter, 164, preset(558, 4, "%+5.0f", "HV3r25", "HARM119")},
    };
    for (const auto& [table, i, want] : rows)
        EXPECT_EQ(table.Variables[i], want) << i;
    for (size_t i : {0, 23, 27, 30, 31, 32, 33, 34, 39, 256})
        EXPECT_EQ(system.Variables[i], old.Variables[i]) << i;
    EXPECT_EQ(meter.Variables[165], old.Variables[165]);
}

TEST(PresetVariables, ButtonsAskBeforeTheSystemSetAndMarkTheProjectModified) {
    VariableTable t = filled(30);
    int16_t modified = 0;
    FakeDialogs dialogs;
    dialogs.choices = {MsgChoice::No};
    EXPECT_FALSE(presetSystemVariables(t, dialogs, modified));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Overwrite system variables?"});
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(t.Variables[24], filled(0).Variables[24]); // declining changes nothing
    EXPECT_TRUE(presetSystemVariables(t, dialogs, modified));
    EXPECT_EQ(t.Variables[24].Name, "ddnsSta");
    EXPECT_EQ(modified, -1);
    modified = 0;
    presetMeterVariables(t, modified); // no question
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(modified, -1);
}
