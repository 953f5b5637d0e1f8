#pragma once
// A fresh project, shell and editor for each test, with the texts the editor reads filled in.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "app_context_fixture.h"
#include "fbeditor/editor.h"

using Bytes = std::array<uint8_t, 4>;

// The names of catalogue entries 0..68 as the resource loader gives them.
inline constexpr std::array<const char*, CatalogueDefined> CatalogueNames = {"Read Input",
                                                                             "Write Multiple",
                                                                             "Read Device",
                                                                             "Scale",
                                                                             "Add",
                                                                             "Sub",
                                                                             "A>B",
                                                                             "Move",
                                                                             "SQRT",
                                                                             "Write Device",
                                                                             "Compare",
                                                                             "Goto",
                                                                             " ",
                                                                             "If(bit) -> Goto",
                                                                             "Call",
                                                                             "Return",
                                                                             "Timer",
                                                                             "Bit Set",
                                                                             "Mult",
                                                                             "Div",
                                                                             "Trip",
                                                                             "AND(word)",
                                                                             "OR(word)",
                                                                             "XOR(word)",
                                                                             "NOT",
                                                                             "Shift R",
                                                                             "Shift L",
                                                                             "Rotate R",
                                                                             "Rotate L",
                                                                             "Average",
                                                                             "Linearization",
                                                                             "Read/Write",
                                                                             "ABS",
                                                                             "AND(bit)",
                                                                             "OR(bit)",
                                                                             "XOR(bit)",
                                                                             "Bit Set",
                                                                             "Bit Reset",
                                                                             "e^(x)",
                                                                             "x^y",
                                                                             "Read Holding",
                                                                             "Log Write",
                                                                             "If(bit) -> Call",
                                                                             "Call Page",
                                                                             "Display Refresh",
                                                                             "Clear WatchDog",
                                                                             "Block Move",
                                                                             "A = B",
                                                                             "A <> B",
                                                                             "A > B",
                                                                             "A < B",
                                                                             "A >= B",
                                                                             "A <= B",
                                                                             "Limit (Int)",
                                                                             "Limit (Ext)",
                                                                             "PID",
                                                                             "POS",
                                                                             "NEG",
                                                                             "TOGGLE up",
                                                                             "TOGGLE down",
                                                                             "Read Coils",
                                                                             "Write Coils",
                                                                             "Write Coil",
                                                                             "Read (pointer)",
                                                                             "Write (pointer)",
                                                                             "Write Single",
                                                                             "While < N",
                                                                             "Min",
                                                                             "Max"};

class EditorTest : public ::testing::Test, protected AppContextFixture {
  protected:
    Editor editor{ctx};

    EditorTest() {
        const std::pair<int, const char*> texts[] = {
            {60, "Functions"},    {61, "Functions"},     {62, "Options"},  {64, "Address"},
            {65, "Register"},     {66, "Number"},        {67, "Dest"},     {68, "Delay"},
            {69, "Source"},       {70, "Device"},        {71, "Resource"}, {72, "From"},
            {73, "To"},           {74, "Mask"},          {75, "Function"}, {76, "Block"},
            {77, "Goto if True"}, {78, "Goto if False"}, {152, "Latch"}};
        for (auto [k, t] : texts)
            shell.UiText[static_cast<size_t>(k)] = t;
        for (size_t k = 0; k < CatalogueNames.size(); ++k)
            shell.FunctionNames[k] = CatalogueNames[k];
        ModelRecord& m = shell.Models[DefaultModelIndex];
        m = ModelRecord{}; // only what the tests set
        m.ModelCode = "8670";
        m.FirstUserRegister = 26;
        m.NumRegisters = 1024;
        m.HasTrigger = -1;
        ProgramSection& s = project.Program.Sections[0];
        s.RungCount = 1;
        project.Program.CurrentRung = 1;
    }

    ModelRecord& model() { return shell.Models[DefaultModelIndex]; }
    CommandRecord& rung(int r = 1) { return project.Program.Sections[0].Rungs[static_cast<size_t>(r)]; }
    ArgumentRow& row(int i) { return editor.state.Rows[static_cast<size_t>(i)]; }

    void choose(int k) {
        if (!editor.Caricato) editor.load();
        editor.chooseFunction(k);
    }
    // Picks the type entry of row i by its name.
    void pickType(int i, const std::string& name) {
        const auto& items = row(i).Type.Items;
        for (size_t j = 0; j < items.size(); ++j)
            if (items[j].Text == name) {
                editor.typeClick(i, static_cast<int>(j));
                return;
            }
        ADD_FAILURE() << "row " << i << " offers no type " << name;
    }
    void addTable(const std::string& name, uint8_t points) {
        LookupTableArray& t = project.Tables;
        t.Tables[t.Count].Name = name;
        t.Tables[t.Count].PointCount = points;
        ++t.Count;
    }
    Bytes slot(int k, int r = 1) { return rung(r).ArgBytes[static_cast<size_t>(k)]; }
};
