#include <gtest/gtest.h>

#include "project/presets.h"
#include "support/fake_dialogs.h"

namespace {

VariableTable filled(uint8_t count) {
    VariableTable t;
    t.Count = count;
    for (size_t i = 0; i < t.Variables.size(); ++i) {
        VariableRecord& v = t.Variables[i];
        v.Register = 7000 + static_cast<int32_t>(i);
        v.ValueType = 3;
        v.Format = "%-9.9e";
        v.Name = "old";
        v.AltRegister = 11;
        v.TriggerRegister = 12;
        v.Mask = 13;
        v.Swap = 1;
        v.CsvName = "oldcsv";
    }
    return t;
}

void expectVar(const VariableRecord& v, int32_t reg, uint8_t type, const std::string& format,
               const std::string& name, const std::string& csv) {
    EXPECT_EQ(v.Register, reg) << name;
    EXPECT_EQ(v.ValueType, type) << name;
    EXPECT_EQ(v.Format, format) << name;
    EXPECT_EQ(v.Name, name);
    EXPECT_EQ(v.CsvName, csv) << name;
    // Alternate, trigger, mask and swap are never touched.
    EXPECT_EQ(v.AltRegister, 11) << name;
    EXPECT_EQ(v.TriggerRegister, 12) << name;
    EXPECT_EQ(v.Mask, 13) << name;
    EXPECT_EQ(v.Swap, 1) << name;
}

} // namespace

TEST(SystemVariables, WritesTheFixedSlotsAndKeepsTheRest) {
    VariableTable t = filled(10);
    const VariableTable before = t;
    SetSystemVar(t);
    EXPECT_EQ(t.Count, 10); // fewer than 25 variables: the written slots stay unlisted
    expectVar(t.Variables[24], 1024, 0, "%+5.0f", "ddnsSta", "oldcsv");
    expectVar(t.Variables[25], 1025, 0, "%+5.0f", "mailSta", "oldcsv");
    expectVar(t.Variables[26], 1220, 13, "%-9.9e", "storDir", "oldcsv");
    expectVar(t.Variables[28], 7028, 16, "%-9.9e", "Date", "oldcsv");
    expectVar(t.Variables[38], 3, 14, "%-9.9e", "Country", "Country");
    for (size_t i : {0, 23, 27, 30, 31, 32, 33, 34, 39, 256})
        EXPECT_EQ(t.Variables[i], before.Variables[i]) << i;
}

TEST(EnergyMeterVariables, WritesTheWholeSetInOrder) {
    VariableTable t = filled(3);
    const VariableTable before = t;
    SetNWVar(t);
    EXPECT_EQ(t.Count, 165);
    expectVar(t.Variables[0], 7000, 16, "%-9.9e", "Date", "oldcsv");
    expectVar(t.Variables[1], 7001, 17, "%-9.9e", "Time", "oldcsv");
    expectVar(t.Variables[2], 500, 2, "%+5.0f", "Ea+[kWh]", "oldcsv");
    expectVar(t.Variables[27], 600, 2, "%+5.0f", "EAd[0]", "Ea+");
    expectVar(t.Variables[45], 320, 4, "%+5.0f", "HI1r3", "HARM0");
    expectVar(t.Variables[164], 558, 4, "%+5.0f", "HV3r25", "HARM119");
    EXPECT_EQ(t.Variables[165], before.Variables[165]);
    EXPECT_EQ(t.Variables[256], before.Variables[256]);
}

TEST(PresetButtons, AskBeforeTheSystemSetAndMarkTheProjectModified) {
    VariableTable t = filled(30);
    int16_t modified = 0;
    FakeDialogs dialogs;
    dialogs.choices = {MsgChoice::No};
    const VariableTable before = t;
    EXPECT_FALSE(presetSystemVariables(t, dialogs, modified));
    EXPECT_EQ(dialogs.shown, std::vector<std::string>{"Overwrite system variables?"});
    EXPECT_EQ(modified, 0);
    EXPECT_EQ(t.Variables[24], before.Variables[24]); // declining changes nothing
    EXPECT_TRUE(presetSystemVariables(t, dialogs, modified));
    EXPECT_EQ(t.Variables[24].Name, "ddnsSta");
    EXPECT_EQ(modified, -1);
    modified = 0;
    presetMeterVariables(t, modified); // no question
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(t.Count, 165);
    EXPECT_EQ(modified, -1);
}
