#include <gtest/gtest.h>

#include <algorithm>

#include "app_context_fixture.h"
#include "devconfig/config_layout.h"

namespace {

enum Sys { NoPanel, Clock, Display };
enum Comm { Both, Port0, Port0Fixed, NoPort, NoPage };

struct Expected {
    int Entry; // -1: a text that is no model
    Sys System;
    bool Ethernet;
    Comm Ports;
    int OutRows;
    bool OutEnabled;
    int Inputs, Outputs;
    bool Trip;
    int AnalogRows; // rows of the Analog In tab, 0 for an empty tab
};

// What each model gets, in the order of the model list, then the models outside it; a model whose row
// would repeat another's in the same group is left out.
constexpr Expected Models[]{
    {4, Clock, true, Both, 0, false, 4, 2, false, 0},
    {5, NoPanel, true, Both, 2, false, 2, 2, false, 2},
    {7, Clock, true, Both, 2, false, 2, 2, false, 2},
    {8, Display, false, Both, 0, false, 0, 0, false, 0},
    {29, Display, false, Port0, 0, false, 0, 0, false, 1},
    {9, NoPanel, false, Port0Fixed, 2, false, 3, 3, false, 2},
    {10, NoPanel, false, Port0Fixed, 0, false, 0, 0, false, 4},
    {13, NoPanel, false, Port0Fixed, 0, false, 0, 0, false, 8},
    {17, NoPanel, false, Port0Fixed, 2, true, 0, 0, false, 0},
    {18, NoPanel, false, Port0Fixed, 4, true, 0, 0, false, 0},
    {19, NoPanel, false, Port0Fixed, 8, false, 0, 0, false, 0},
    {20, NoPanel, false, Port0Fixed, 0, false, 4, 4, false, 0},
    {21, NoPanel, false, Port0Fixed, 0, false, 4, 8, false, 0},
    {22, NoPanel, false, Port0Fixed, 0, false, 12, 0, false, 0},
    {23, NoPanel, false, Port0Fixed, 0, false, 8, 8, false, 0},
    {25, NoPanel, false, NoPort, 0, false, 0, 0, true, 0},
    {26, NoPanel, true, NoPage, 0, false, 8, 4, false, 0},
    {27, NoPanel, false, Port0Fixed, 0, false, 3, 3, false, 8},
    {28, NoPanel, true, NoPage, 0, false, 8, 8, false, 0},
    {30, NoPanel, true, NoPage, 0, false, 16, 0, false, 0},
    {31, NoPanel, true, NoPage, 0, false, 0, 0, false, 4},
    {32, NoPanel, true, NoPage, 0, false, 0, 0, false, 8},
    {39, NoPanel, true, NoPage, 4, true, 0, 0, false, 0},
    {0, NoPanel, true, Both, 0, false, 0, 0, false, 0},
    {1, NoPanel, true, Both, 0, false, 4, 2, false, 0},
    {2, Clock, true, Both, 0, false, 0, 0, false, 0},
    {38, NoPanel, true, NoPage, 2, true, 0, 0, false, 0},
    {40, NoPanel, true, NoPage, 0, false, 0, 0, false, 0},
    {-1, NoPanel, false, Port0Fixed, 0, false, 0, 0, false, 0},
};

long rowsShown(const ConfigLayout& l) {
    return std::count_if(l.AiRows.begin(), l.AiRows.end(), [](uint16_t r) { return r != 0; });
}

TEST(ImpostaModello, EveryModelOnEveryTab) {
    AppContextFixture f;
    for (const Expected& e : Models) {
        const std::string m = e.Entry < 0 ? "JXV0000" : f.shell.ModelNames[static_cast<size_t>(e.Entry)];
        SCOPED_TRACE(m);
        auto tab = [&](int t) { return ImpostaModello(f.shell.ModelNames, m, t, false); };
        const ConfigLayout sys = tab(TabSystem);
        EXPECT_EQ(sys.Page, TabSystem);
        EXPECT_EQ(sys.Rtc, e.System == Clock);
        EXPECT_EQ(sys.Disp, e.System == Display);
        EXPECT_EQ(tab(TabEthernet).Page, e.Ethernet ? TabEthernet : 0);
        const ConfigLayout com = tab(TabComm);
        EXPECT_EQ(com.Page, e.Ports == NoPage ? 0 : TabComm);
        EXPECT_EQ(com.Com0, e.Ports == Both || e.Ports == Port0 || e.Ports == Port0Fixed);
        EXPECT_EQ(com.Com1, e.Ports == Both);
        EXPECT_EQ(com.Com0ParStop, e.Ports == Both || e.Ports == Port0);
        const ConfigLayout ai = tab(TabAnalogIn);
        EXPECT_EQ(ai.Page, e.AnalogRows ? TabAnalogIn : 0);
        EXPECT_EQ(rowsShown(ai), e.AnalogRows);
        const ConfigLayout ao = tab(TabAnalogOut);
        EXPECT_EQ(ao.Page, e.OutRows ? TabAnalogOut : 0);
        EXPECT_EQ(ao.OutRows, e.OutRows);
        EXPECT_EQ(ao.OutEnabled, e.OutEnabled);
        EXPECT_EQ(tab(TabDigitalIn).Inputs, e.Inputs);
        EXPECT_EQ(tab(TabDigitalIn).Page, e.Inputs ? TabDigitalIn : 0);
        EXPECT_EQ(tab(TabDigitalOut).Outputs, e.Outputs);
        EXPECT_EQ(tab(TabDigitalOut).Page, e.Outputs ? TabDigitalOut : 0);
        EXPECT_EQ(tab(TabTrip).Page, e.Trip ? TabTrip : 0);
        EXPECT_EQ(tab(0).Page, 0);
        EXPECT_EQ(tab(9).Page, 0);
    }
}

TEST(ImpostaModello, BuildFlagAndTypedVariant) {
    AppContextFixture f;
    const ConfigLayout internal = ImpostaModello(f.shell.ModelNames, "JXV8480AI", TabComm, true);
    EXPECT_TRUE(internal.Com1);
    EXPECT_TRUE(internal.Com0ParStop);
    // The eight-channel variant: the analog module's row-0 list on eight rows, with a write button.
    const ConfigLayout variant = ImpostaModello(f.shell.ModelNames, "JXV7593-4R4T", TabAnalogIn, false);
    EXPECT_EQ(rowsShown(variant), 8);
    EXPECT_EQ(variant.Types->Lists[7].size(), 19u);
    EXPECT_TRUE(variant.AiExtras & ButtonWrite);
    EXPECT_EQ(ImpostaModello(f.shell.ModelNames, "JXV7593-4R4T", TabDigitalIn, false).Page, 0);
}

} // namespace
