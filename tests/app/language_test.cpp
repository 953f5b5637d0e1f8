#include <gtest/gtest.h>

#include "app/language.h"
#include "app/resource_strings.h"

TEST(Texts, BothLanguagesHaveEveryKey) {
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
}

TEST(Texts, EnglishSetVerbatim) {
    ShellState shell;
    CaricaRisorse(shell, 1);
    const auto& t = shell.UiText;
    EXPECT_EQ(t[0], "Sunday");
    EXPECT_EQ(t[18], "December");
    EXPECT_EQ(t[36], "Immages");
    EXPECT_EQ(t[42], "?");
    EXPECT_EQ(t[100], "'Animate' time");
    EXPECT_EQ(t[124], "ID Modulo");
    EXPECT_EQ(t[169], "Bit [0\xF7"
                      "15]");
    EXPECT_EQ(t[172], "Do you want to save your changes?");
    EXPECT_EQ(t[193], "ss");
    EXPECT_EQ(t[208], "Lenght");
    EXPECT_EQ(t[211], "The application must contain at least 1 function block");
    EXPECT_EQ(shell.MonthNames[1], "January");
    EXPECT_EQ(shell.MonthNames[12], "December");
    EXPECT_EQ(shell.MonthNames[0], "");
    EXPECT_EQ(shell.LanguageName, "Language");
    EXPECT_EQ(shell.LanguageNames[0], "Italiano");
    EXPECT_EQ(shell.LanguageNames[1], "English");
}

TEST(Texts, ItalianSetWhereThePiecesQuoteIt) {
    ShellState shell;
    CaricaRisorse(shell, 0);
    const auto& t = shell.UiText;
    EXPECT_EQ(shell.Language, 0);
    EXPECT_EQ(t[0], "Domenica");
    EXPECT_EQ(t[19], "Progetto");
    EXPECT_EQ(t[25], "Esci");
    EXPECT_EQ(t[36], "Immagini");
    EXPECT_EQ(t[44], "Controllo errori");
    EXPECT_EQ(t[46], "Utilizzo Risorse");
    EXPECT_EQ(t[49], "Compilazione in corso");
    EXPECT_EQ(t[52], "Errore Etichetta");
    EXPECT_EQ(t[69], "Sorgente");
    EXPECT_EQ(t[85], "Lista Tabelle");
    EXPECT_EQ(t[99], "Agg. continuo registri");
    EXPECT_EQ(t[109], "Termina");
    EXPECT_EQ(t[131], "Luminosit\xE0");
    EXPECT_EQ(t[172], "Salvare i cambiamenti?");
    EXPECT_EQ(t[211], "Il programma deve contenere almeno 1 blocco funzione");
    EXPECT_EQ(shell.LanguageName, "Lingua");
    EXPECT_EQ(shell.MonthNames[1], "Gennaio");
    // Not translated: function-block names, value types, register prefixes.
    EXPECT_EQ(shell.FunctionNames[0], "Read Input");
    EXPECT_EQ(shell.FunctionNames[12], " ");
    EXPECT_EQ(shell.FunctionNames[68], "Max");
    EXPECT_EQ(shell.FunctionNames[69], "");
    EXPECT_EQ(shell.ValueTypeNames[18], "Firmware");
    EXPECT_EQ(shell.ValueTypeNames[19], "");
    EXPECT_EQ(shell.RegisterPrefixes[0], "%R");
    EXPECT_EQ(shell.RegisterPrefixes[3], "%R");
    EXPECT_EQ(shell.RegisterPrefixes[4], "");
}

TEST(Texts, SwitchingLanguageChangesMenusAndKeepsModelData) {
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

TEST(Texts, BrandSets) {
    EXPECT_EQ(ResourceString(600), "KORVANE");
    EXPECT_EQ(ResourceString(601), "Melqo");
    EXPECT_EQ(ResourceString(651), "Orvik");
    EXPECT_EQ(ResourceString(701), "LMXCON3");
    EXPECT_EQ(ResourceString(750), "ALTO-PV");
    EXPECT_EQ(ResourceString(751), "Melqo");
    EXPECT_EQ(ResourceString(655), "---");
    EXPECT_EQ(ResourceString(679), "--------");
    EXPECT_EQ(ResourceString(674), "JXV7174");
    EXPECT_EQ(ResourceString(675), "JXV7711-P");
    EXPECT_EQ(ResourceString(622), "JXV7950-MBTCP");
    EXPECT_EQ(ResourceString(792), "JXV9787");
    EXPECT_EQ(ResourceString(501), "1.8");
    EXPECT_FALSE(ResourceString(643));

    ShellState shell;
    CaricaRisorse(shell, 1);
    EXPECT_EQ(shell.ModelNames[4], "JXV8410-USB");
    EXPECT_EQ(shell.ModelNames[15], "JXV7711-P");
    EXPECT_EQ(shell.ModelNames[16], "JXV7174");
    EXPECT_EQ(shell.ModelNames[24], "JXV7950-MBTCP");
    EXPECT_EQ(shell.ModelNames[40], "JXV9787");
}
