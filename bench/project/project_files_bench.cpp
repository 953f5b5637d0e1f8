// Save and load of a project with every file of its set at capacity: 256 main rungs, nine tables of 26
// points, nine pages of 32 objects, 36 tasks recording 255 fields, 255 variables, 128 strings, 32 blocks,
// 100 watched registers and 2,049 named registers.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/app_context.h"
#include "project/counting_pump.h"
#include "project/project_load.h"
#include "project/project_save.h"
#include "support/fake_dialogs.h"

namespace {

struct MaximalProject {
    std::unique_ptr<ShellState> shell = std::make_unique<ShellState>();
    std::unique_ptr<CommState> comm = std::make_unique<CommState>();
    std::unique_ptr<Project> project = std::make_unique<Project>();
    CountingPump pump;
    FakeDialogs dialogs;
    AppContext ctx{*shell, *comm, *project, pump, dialogs};
    std::string dir;

    MaximalProject() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "melqo_bench_XXXXXX").string();
        dir = mkdtemp(tmpl.data());
        ModelRecord& m = shell->Models[DefaultModelIndex];
        m.ModelCode = "9E23";
        m.NumRegisters = RegisterCount - 1;
        m.MaxVariables = 255;
        m.MaxStrings = 128;
        m.MaxBlocks = 32;
        m.FirstUserRegister = 45;
        m.ProjectTextBlocks = -1;
        fill(*project, *comm);
    }
    ~MaximalProject() { std::filesystem::remove_all(dir); }

    static void fill(Project& p, CommState& comm) {
        ProgramSection& main = p.Program.Sections[0];
        main.RungCount = MaxRungs;
        for (int r = 1; r <= MaxRungs; ++r) {
            CommandRecord& c = main.Rungs[static_cast<size_t>(r)];
            c.Description = "Rung description " + std::to_string(r);
            c.Label = "L" + std::to_string(r);
            c.FunctionType = 3;
            c.Opcode = 1;
            for (int k = 0; k < 8; ++k) {
                c.ArgTexts[static_cast<size_t>(k)] = "%R" + std::to_string(100 + k);
                c.ArgBytes[static_cast<size_t>(k)] = {1, 2, 3, 4};
            }
        }
        p.Tables.Count = MaxLookupTables;
        for (LookupTable& t : p.Tables.Tables) {
            t.Name = "Table";
            t.PointCount = MaxTablePoints;
            for (int i = 0; i < MaxTablePoints; ++i) {
                t.Inputs[static_cast<size_t>(i)] = i * 1.25;
                t.Outputs[static_cast<size_t>(i)] = i * -0.3;
            }
        }
        p.Pages.Count = MaxDisplayPages;
        for (DisplayPage& page : p.Pages.Pages) {
            page.ObjectCount = MaxPageObjects;
            for (DisplayObject& o : page.Objects) {
                o.Text = "Level %5.1f";
                o.Maximum = 1000.5;
                o.Minimum = -0.75;
            }
        }
        p.Tasks.Count = MaxTasks;
        for (SchedulerTask& t : p.Tasks.Tasks) {
            t.Directory = "LOGS";
            t.FieldCount = 255;
        }
        p.Variables.Count = 255;
        for (int i = 0; i < 255; ++i) {
            VariableRecord& v = p.Variables.Variables[static_cast<size_t>(i)];
            v.Register = 100 + i;
            v.Format = "%+5.0f";
            v.Name = "Var" + std::to_string(i);
            v.CsvName = v.Name;
        }
        for (StringEntry& s : p.Strings)
            s.Text = "A project string of thirty-two b";
        for (TextBlock& b : p.Blocks) {
            b.Name = "Block";
            b.Text = "First line of the block\r\nSecond line of the block\r\nThird line";
        }
        p.Watch[0] = 100;
        for (RegisterRecord& r : comm.Registers)
            r.Name = "Register name";
    }
};

void BM_SaveMaximalProject(benchmark::State& state) {
    MaximalProject m;
    std::string name = m.dir + "/max.prj";
    for (auto _ : state) {
        m.dialogs.files.push_back(name);
        if (!SalvaProgetto(m.ctx, true)) state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveMaximalProject)->Unit(benchmark::kMillisecond);

void BM_LoadMaximalProject(benchmark::State& state) {
    MaximalProject m;
    std::string name = m.dir + "/max.prj";
    m.dialogs.files.push_back(name);
    SalvaProgetto(m.ctx, true);
    ProjectLoadHooks hooks;
    for (auto _ : state) {
        m.dialogs.files.push_back(name);
        if (!CaricaProgetto(m.ctx, hooks) || !m.dialogs.shown.empty()) {
            for (const auto& l : m.shell->log.lines())
                fprintf(stderr, "%s\n", l.c_str());
            state.SkipWithError("load failed");
            break;
        }
    }
}
BENCHMARK(BM_LoadMaximalProject)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
