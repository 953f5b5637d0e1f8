#include <gtest/gtest.h>

#include <set>

#include "app/menu_model.h"
#include "app/shell_state.h"

namespace {

TEST(MenuModel, SixtyThreeItemsEachUnderAKnownParent) {
    std::set<std::string_view> names;
    for (const auto& m : MenuTree) {
        ASSERT_FALSE(m.Name.empty());
        EXPECT_TRUE(names.insert(m.Name).second) << m.Name;
        if (!m.Parent.empty()) {
            EXPECT_TRUE(names.contains(m.Parent)) << m.Name << " before its parent";
        }
    }
    EXPECT_EQ(names.size(), 63u);
}

std::string visibleBar(bool internal) {
    std::string out;
    for (const auto& m : MenuTree)
        if (m.Parent.empty() && menuShown(m, internal, true, true)) out += std::string(m.Caption) + "|";
    return out;
}

TEST(MenuModel, BarAndInternalMenusFollowTheBuild) {
    EXPECT_EQ(visibleBar(false), "Project|Settings|View|Tools|?|");
    EXPECT_EQ(visibleBar(true), "Project|Settings|View|Tools|Collaudo|?|");
    for (auto name : {"mnu_Export", "mnu_print", "mnu_collaudo"}) {
        EXPECT_FALSE(menuShown(*findMenu(name), false, true, true)) << name;
        EXPECT_TRUE(menuShown(*findMenu(name), true, true, true)) << name;
    }
    EXPECT_FALSE(menuShown(*findMenu("mnu_SaveProj"), true, true, true));
    EXPECT_FALSE(menuShown(*findMenu("mnu_viewProj"), true, true, true));
    EXPECT_TRUE(isPopupOnly(*findMenu("mnu_FB")));
    EXPECT_TRUE(isPopupOnly(*findMenu("mnu_Cont")));
    EXPECT_TRUE(menuShown(*findMenu("mnu_program"), false, true, false));
    EXPECT_FALSE(menuShown(*findMenu("mnu_display"), false, true, false));
}

TEST(MenuModel, TwentySixCaptionsFollowTheTextsAndTheRestStayFixed) {
    ShellState s;
    for (size_t k = 0; k < s.UiText.size(); ++k)
        s.UiText[k] = "T" + std::to_string(k);
    int translated = 0;
    for (const auto& m : MenuTree) {
        std::string caption = menuCaption(m, s.UiText);
        if (m.TextKey >= 0) {
            ++translated;
            EXPECT_EQ(caption, "T" + std::to_string(m.TextKey));
        } else {
            EXPECT_EQ(caption, m.Caption);
        }
    }
    EXPECT_EQ(translated, 26);
    EXPECT_EQ(findMenu("mnu_Export")->TextKey, 171);
    EXPECT_EQ(menuCaption(*findMenu("mnu_Watch"), s.UiText), "Watch");
    // Before any text is loaded the design captions show.
    ShellState empty;
    EXPECT_EQ(menuCaption(*findMenu("mnu_images"), empty.UiText), "Immages");
}

} // namespace
