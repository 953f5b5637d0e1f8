#include <gtest/gtest.h>

#include <set>

#include "app/menu_model.h"

// The shipped build hides the internal menus (the main window tests check that); this build shows them.
TEST(MenuModel, InternalBuildShowsItsMenus) {
    for (auto name : {"mnu_Export", "mnu_print", "mnu_collaudo"})
        EXPECT_TRUE(menuShown(*findMenu(name), true, true, true)) << name;
    EXPECT_FALSE(menuShown(*findMenu("mnu_SaveProj"), true, true, true));
    EXPECT_TRUE(menuShown(*findMenu("mnu_program"), false, true, false));
    EXPECT_FALSE(menuShown(*findMenu("mnu_display"), false, true, false));
}

TEST(MenuModel, EveryItemFollowsItsParent) {
    std::set<std::string_view> seen;
    for (const auto& m : MenuTree) {
        EXPECT_TRUE(m.Parent.empty() || seen.contains(m.Parent)) << m.Name;
        EXPECT_TRUE(seen.insert(m.Name).second) << m.Name;
    }
}
