#pragma once
// A headless context (texts and catalogue loaded) with a program view, rung editing and the new-project
// procedures bound to fakes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_context_fixture.h"
#include "core/app_context.h"
#include "program/view/project_lifecycle.h"
#include "program/view/rung_editing.h"

class ViewFixture : public ::testing::Test, public AppContextFixture {
  protected:
    ProgramView view{ctx};
    std::vector<int16_t> opened; // rungs the editor was asked to open
    int adds = 0;
    // The editor's Add draws the row of the rung it was opened on, as the encoder would.
    RungEditing editing{view,
                        {[this](int16_t p) { opened.push_back(p); },
                         [this] {
                             ++adds;
                             draw(opened.back());
                             return true;
                         }}};
    int saves = 0;
    int editorsClosed = 0;
    ProjectLifecycle life{view, [this](bool) { return ++saves, true; }, [this] { ++editorsClosed; }, {}, {},
                          {}};

    void SetUp() override {
        shell.Models[DefaultModelIndex].MaxVariables = 32;
        shell.Models[DefaultModelIndex].MaxStrings = 8;
    }

    ProgramStore& store() { return project.Program; }
    ProgramSection& section() { return project.Program.current(); }
    CommandRecord& rung(int r) { return section().Rungs[static_cast<size_t>(r)]; }
    const ViewRow& row(int r) { return *view.row(r); }
    bool key(const char* k) { return shell.Toolbar.Enabled[k]; }

    // A rung as the encoder leaves it, told apart by n, with its row.
    void encode(int r, int n) {
        CommandRecord& c = rung(r);
        c.FunctionType = static_cast<uint16_t>(n);
        c.Opcode = static_cast<uint16_t>(100 + n);
        c.Label = "L" + std::to_string(n);
        c.EncodedFlag = -1;
        c.DataSize = static_cast<uint16_t>(n * 2);
        for (size_t k = 0; k < ArgSlotCount; ++k) {
            c.ArgTexts[k] = std::to_string(n * 10 + static_cast<int>(k));
            c.ArgBytes[k] = {static_cast<uint8_t>(n), static_cast<uint8_t>(k), 0, 0};
        }
        draw(r);
        view.descriptionChanged(static_cast<int16_t>(r), "desc " + std::to_string(n));
    }
    void draw(int r) {
        const CommandRecord& c = rung(r);
        RungRow out;
        out.FunctionName = "F" + std::to_string(c.FunctionType);
        out.Picture = c.FunctionType;
        out.PictureVisible = true;
        out.Label = c.Label;
        out.ArgValues[0] = c.ArgTexts[0];
        out.ValueVisible[0] = true;
        out.Summary = "[ " + c.ArgTexts[0] + " ]";
        view.showRung(store().CurrentSection, static_cast<int16_t>(r), out, false);
    }

    // A new project with n encoded rungs 1..n, rung k told apart by k.
    void projectWith(int n) {
        NuovoProgramma(life);
        NuovoProgetto(life);
        encode(1, 1);
        for (int k = 2; k <= n; ++k) {
            ASSERT_TRUE(view.RidisegnaRung());
            encode(k, k);
        }
    }
    // Rung numbers by their tell-tale function type, 0 for an empty rung, -1 where the row does not show
    // the record's function and description.
    std::vector<int> order() {
        std::vector<int> v;
        for (int r = 1; r <= section().RungCount; ++r) {
            const CommandRecord& c = rung(r);
            const std::string name = c.FunctionType ? "F" + std::to_string(c.FunctionType) : "";
            const bool shown = view.row(r) && row(r).Content.FunctionName == name &&
                               row(r).Content.Description == c.Description;
            v.push_back(shown ? c.FunctionType : -1);
        }
        return v;
    }
};
