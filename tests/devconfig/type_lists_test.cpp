#include <gtest/gtest.h>

#include "devconfig/model_entries.h"
#include "devconfig/type_lists.h"

namespace {

std::string names(const TypeRow& row) {
    std::string s;
    for (const auto& i : row.Items)
        s += i.Name + "=" + std::to_string(i.Code) + " ";
    return s;
}

TEST(TypeLists, RowsPerModel) {
    struct Case {
        int Entry;
        size_t Row;
        const char* List;
        int Selected;
        bool Enabled;
    };
    const Case cases[]{
        {entry::JXV7174, 7,
         "Res.L=1 Res.H=2 Pt100=5 Ni100=6 Pt1K=7 Ni1K=8 NTC 1K=10 NTC 3988=13 NTC 10K=14 ---=0 ", -1, true},
        {entry::JXV9322, 0, "Disabled=0 20 mA=3 ", 0, true},
        {entry::JXV8250USB, 1, "---=0 ---=1 10 V=2 20 mA=3 ", -1, true},
        {entry::JXV7593, 2, "", -1, true},
        {entry::KELMO7593, 7,
         "---=0 100 mV=1 10 V=2 20 mA=3 Tc J=4 Tc K=5 Tc T=8 Tc E=10 Tc R=6 Tc S=7 Tc B=9 Tc N=11 Res H=18 "
         "Res L=12 Pt100=13 Pt1K=14 Ni100=15 Ni1K=16 Pot=17 ",
         -1, false},
        {entry::JXV9422, 3, "Disabled=0 Res_500=12 Pt100=13 Pt1K=14 Ni100=15 Ni1K=16 Pot=17 Res_2K=18 ", -1,
         true},
    };
    TypeRows rows;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Entry);
        FillTypeRows(rows, TypesOf(c.Entry));
        FillTypeRows(rows, TypesOf(c.Entry)); // a second run duplicates nothing
        EXPECT_EQ(names(rows[c.Row]), c.List);
        EXPECT_EQ(rows[c.Row].Selected, c.Selected);
        if (!rows[c.Row].Items.empty()) {
            EXPECT_EQ(rows[c.Row].Enabled, c.Enabled);
        }
    }
}

TEST(TypeLists, InsertAndSelectByCode) {
    TypeRow row;
    row.AggiungiTipo("a", 1, 0);
    row.AggiungiTipo("b", 2, 1); // the end: appended
    row.AggiungiTipo("c", 3, 5); // beyond the end: nothing
    row.AggiungiTipo("d", 2, 0);
    EXPECT_EQ(names(row), "d=2 a=1 b=2 ");
    row.selectCode(2);
    EXPECT_EQ(row.Selected, 2); // the later of two entries with the code
    row.selectCode(9);
    EXPECT_EQ(row.Selected, 2); // no entry with the code: unchanged
}

} // namespace
