#include <gtest/gtest.h>

#include <set>

#include "core/build_flags.h"
#include "core/language.h"
#include "core/model_catalogue.h"

namespace {

ModelCatalogue build(const BuildFlags& flags = ThisBuild) {
    ModelCatalogue c;
    ModelNameList names{};
    InitModelli(c, names, flags);
    return c;
}

// The flags of a row in the catalogue's own letters: D display, P programmable, R clock, C CSV logger,
// A/B editor features, S/K scheduler features, T trigger, X project text blocks.
std::string flagLetters(const ModelRecord& r) {
    std::string out;
    for (auto [f, c] : {std::pair{r.HasDisplay, 'D'},
                        {r.IsProgrammable, 'P'},
                        {r.HasRtc, 'R'},
                        {r.HasCsvLogger, 'C'},
                        {r.EditorFeatureA, 'A'},
                        {r.HasTrigger, 'T'},
                        {r.SchedulerFeatureA, 'S'},
                        {r.EditorFeatureB, 'B'},
                        {r.SchedulerFeatureB, 'K'},
                        {r.ProjectTextBlocks, 'X'}})
        if (f) out += c;
    return out;
}

// The letters a row of the standard edition has in this build: the internal edition programs every model.
std::string thisEditionsFlags(std::string letters) {
    if (BuildInternal && letters.find('P') == std::string::npos)
        letters.insert(letters.starts_with('D') ? 1 : 0, "P");
    return letters;
}

} // namespace

// Codes are what a device is recognised by: one row each; the rows past the filled ones stay empty.
TEST(ModelCatalogue, RowsHoldDistinctCodesAndTheHighBlockEndsTheTable) {
    ModelCatalogue c = build();
    std::set<std::string> codes;
    for (int i = 0; i < FilledModelRows; ++i) {
        const ModelRecord& r = c[static_cast<size_t>(i)];
        codes.insert(r.ModelCode);
        EXPECT_EQ(r.HighRegisterStart, r.NumRegisters - r.HighRegisterCount) << i;
    }
    EXPECT_EQ(codes.size(), 49u);
    EXPECT_TRUE(c[49].ModelCode.empty());
    EXPECT_EQ(c[50].NumRegisters, 0);
}

// One row per model the devices and the editors treat apart, between them every flag letter (S and K
// also apart).
TEST(ModelCatalogue, RowsTheSystemTreatsApart) {
    const struct {
        size_t Row;
        const char* Code;
        int Registers, HighStart, FirstUser, MaxVariables, RecordSize;
        const char* Flags;
    } rows[] = {
        {9, "8480", 1024, 960, 26, 32, 16, "DP"},       {23, "88D4", 1280, 1216, 34, 127, 16, "PRCASB"},
        {24, "85E1", 1280, 1216, 34, 96, 16, "PRCABK"}, {31, "84B5", 1280, 1152, 35, 127, 16, "PRCASBKX"},
        {35, "5920", 1280, 1216, 39, 1, 32, "PTBX"},    {48, "9E23", 1280, 1216, 45, 255, 32, "ABX"},
    };
    ModelCatalogue c = build();
    for (const auto& e : rows) {
        const ModelRecord& r = c[e.Row];
        EXPECT_EQ((std::tuple{r.ModelCode, r.NumRegisters, r.HighRegisterStart, r.FirstUserRegister,
                              r.MaxVariables, r.VariableRecordSize, flagLetters(r)}),
                  (std::tuple{std::string(e.Code), e.Registers, e.HighStart, e.FirstUser, e.MaxVariables,
                              e.RecordSize, thisEditionsFlags(e.Flags)}))
            << "row " << e.Row;
    }
}

TEST(ModelCatalogue, BuildFlagsChangeOnlyTheirRowsAndNames) {
    ModelCatalogue plain = build({.Brand1 = -1});
    ModelCatalogue variant = build({.Brand1 = -1, .Variant = -1});
    ModelCatalogue internal = build({.Internal = -1, .Brand1 = -1});
    for (int i = 0; i < FilledModelRows; ++i) {
        const auto& p = plain[static_cast<size_t>(i)];
        const auto& n = internal[static_cast<size_t>(i)];
        EXPECT_EQ(p.ProgramCapacity != variant[static_cast<size_t>(i)].ProgramCapacity, i == 32) << i;
        EXPECT_EQ(p.IsProgrammable != n.IsProgrammable, i == 34 || i == 36 || (i >= 38 && i <= 48)) << i;
        EXPECT_NE(n.IsProgrammable, 0) << i;
    }
    EXPECT_EQ(variant[32].HighRegisterStart, 1152);
    EXPECT_EQ(variant[32].ProgramEnd, 23792);

    // Names follow the list except row 12 and the brand flags.
    EXPECT_EQ(build()[12].ModelName, "JXV7950-MBTCP");
    ShellState shell;
    CaricaRisorse(shell, 1);
    EXPECT_EQ(shell.Models[3].ModelName, "JXV8410-DL-IO"); // two rows share one name
    EXPECT_EQ(shell.Models[4].ModelName, "JXV8410-DL-IO");
    ShellState brand3;
    brand3.BrandOffset = DeriveBrandOffset({.Brand3 = -1});
    CaricaRisorse(brand3, 1);
    EXPECT_EQ(brand3.Models[0].ModelName, "LMX3");
    EXPECT_EQ(brand3.Models[12].ModelName, "JXV7950-MBTCP");
    // The brand offset: the last flag set wins.
    EXPECT_EQ(DeriveBrandOffset(ThisBuild), 0);
    EXPECT_EQ(DeriveBrandOffset({.Brand2 = -1}), 50);
    EXPECT_EQ(DeriveBrandOffset({.Brand2 = -1, .Variant = -1}), 0);
    EXPECT_EQ(DeriveBrandOffset({.Brand3 = -1, .Brand4 = -1}), 150);
}
