#pragma once
// A fresh project, shell and editor for each test, on a bare model with only what the tests set.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "app_context_fixture.h"
#include "fbeditor/editor.h"

using Bytes = std::array<uint8_t, 4>;

class EditorTest : public ::testing::Test, protected AppContextFixture {
  protected:
    Editor editor{ctx};

    EditorTest() {
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
        for (int i = 0; i < points; ++i)
            t.Tables[t.Count].Inputs[static_cast<size_t>(i)] = i; // a Linearization needs them ascending
        ++t.Count;
    }
    Bytes slot(int k, int r = 1) { return rung(r).ArgBytes[static_cast<size_t>(k)]; }
};
