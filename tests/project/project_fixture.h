#pragma once
// A headless application context with a default model and a temporary folder for project files.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "core/app_context.h"
#include "project/counting_pump.h"
#include "support/fake_dialogs.h"

class ProjectFixture : public ::testing::Test {
  protected:
    std::unique_ptr<ShellState> shell = std::make_unique<ShellState>();
    std::unique_ptr<CommState> comm = std::make_unique<CommState>();
    std::unique_ptr<Project> project = std::make_unique<Project>();
    CountingPump pump;
    FakeDialogs dialogs;
    AppContext ctx{*shell, *comm, *project, pump, dialogs};
    std::filesystem::path dir;

    void SetUp() override {
        ModelRecord& m = shell->Models[DefaultModelIndex];
        m.ModelCode = "9E23";
        m.ModelName = "JXV9787";
        m.NumRegisters = 1280;
        m.MaxVariables = 255;
        m.MaxStrings = 128;
        m.MaxBlocks = 32;
        m.FirstUserRegister = 45;
        m.ProjectTextBlocks = -1;
        std::string tmpl = (std::filesystem::temp_directory_path() / "melqo_project_XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir = tmpl;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    ModelRecord& model() { return shell->Models[DefaultModelIndex]; }
    std::string path(const std::string& name) const { return (dir / name).string(); }
    static std::string slurp(const std::string& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static void spit(const std::string& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
};

// Joins lines with CR LF, each line ended.
inline std::string crlf(std::initializer_list<std::string> lines) {
    std::string s;
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}

inline std::string repeat(const std::string& block, int n) {
    std::string s;
    for (int i = 0; i < n; ++i)
        s += block;
    return s;
}

// A Read Holding rung as the function-block editor encodes rows "1", "100", "10", "%R30" and delay 10.
inline CommandRecord readHoldingRung() {
    CommandRecord r;
    r.Description = "Read temps";
    r.Label = "L1";
    r.FunctionType = 4;
    r.ArgTexts[0] = "1";
    r.ArgTexts[1] = "100";
    r.ArgTexts[2] = "10";
    r.ArgTexts[4] = "%R30";
    r.ArgBytes[0] = {1, 0, 0, 0};
    r.ArgBytes[1] = {100, 0, 0, 0};
    r.ArgBytes[2] = {10, 0, 0, 0};
    r.ArgBytes[3] = {30, 0, 0, 0};
    r.ArgBytes[4] = {10, 0, 0, 0}; // the delay of a communication block
    return r;
}
