#include <gtest/gtest.h>

#include "core/language.h"
#include "core/resource_strings.h"

TEST(Texts, BothLanguagesHaveEveryKeyAndSwitchingKeepsModelData) {
    for (int language : {0, 1}) {
        for (int k = 0; k < UiTextCount; ++k) {
            auto text = ResourceString(2000 + 1000 * language + k);
            ASSERT_TRUE(text) << language << " " << k;
            EXPECT_FALSE(text->empty()) << language << " " << k;
        }
        EXPECT_FALSE(ResourceString(2000 + 1000 * language + UiTextCount));
    }
    for (int k = 0; k < 69; ++k)
        ASSERT_TRUE(ResourceString(1200 + k)) << k;
    for (int offset : {0, 50, 100, 150})
        for (int k = 0; k <= 42; ++k)
            EXPECT_TRUE(ResourceString(600 + offset + k)) << offset << " " << k;

    // Switching language changes the menus and keeps the model data.
    ShellState shell;
    CaricaRisorse(shell, 1);
    auto english = MenuCaptions(shell);
    ModelRecord row5 = shell.Models[5];
    CaricaRisorse(shell, 0);
    auto italian = MenuCaptions(shell);
    ASSERT_EQ(italian.size(), 26u);
    EXPECT_EQ(italian[0], (std::pair<std::string, std::string>{"mnu_project", "Progetto"}));
    EXPECT_EQ(english[6], (std::pair<std::string, std::string>{"mnu_Export", "Export"}));
    EXPECT_EQ(italian[6].second, "Esporta");
    EXPECT_EQ(italian[25], (std::pair<std::string, std::string>{"mnu_About", "Informazioni"}));
    EXPECT_EQ(shell.Models[5].NumRegisters, row5.NumRegisters);
    EXPECT_EQ(shell.Models[5].ModelName, row5.ModelName);

    // A language without texts keeps what was loaded.
    CaricaRisorse(shell, 7);
    EXPECT_EQ(shell.UiText[19], "Progetto");
}
