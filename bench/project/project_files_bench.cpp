// Save and load of a project at four sizes, a quarter to all of a full set: up to 256 main rungs, four
// subroutines, nine tables of 26 points, nine pages of 32 objects, 36 tasks recording 255 fields, 255
// variables, 128 strings, 32 blocks, 100 watched registers and 2,049 named registers. Every loaded project
// is saved again and its files must equal the first save byte for byte (else exit 1). Sizes are measured
// in interleaved rounds; the growth is printed as time per quarter against the smallest size.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>

#include "core/app_context.h"
#include "bench_stats.h"
#include "project/counting_pump.h"
#include "project/project_load.h"
#include "project/project_save.h"
#include "support/fake_dialogs.h"

namespace {

// Up to k quarters of n, at least one.
int part(int n, int k) { return std::max(1, n * k / 4); }
struct SizedProject {
    std::unique_ptr<ShellState> shell = std::make_unique<ShellState>();
    std::unique_ptr<CommState> comm = std::make_unique<CommState>();
    std::unique_ptr<Project> project = std::make_unique<Project>();
    CountingPump pump;
    FakeDialogs dialogs;
    AppContext ctx{*shell, *comm, *project, pump, dialogs};
    std::string dir;

    explicit SizedProject(int quarters) {
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
        fill(*project, *comm, quarters);
    }
    ~SizedProject() { std::filesystem::remove_all(dir); }

    static void fill(Project& p, CommState& comm, int k) {
        for (int s = 0; s <= part(4, k); ++s) {
            ProgramSection& sec = p.Program.Sections[static_cast<size_t>(s)];
            sec.RungCount = static_cast<int16_t>(s == 0 ? part(MaxRungs, k) : part(MaxRungs, k) / 4);
            for (int r = 1; r <= sec.RungCount; ++r) {
                CommandRecord& c = sec.Rungs[static_cast<size_t>(r)];
                c.Description = "Rung description " + std::to_string(r);
                c.Label = "L" + std::to_string(s) + "_" + std::to_string(r);
                c.FunctionType = 3;
                c.Opcode = 1;
                for (int a = 0; a < 8; ++a) {
                    c.ArgTexts[static_cast<size_t>(a)] = "%R" + std::to_string(100 + a);
                    c.ArgBytes[static_cast<size_t>(a)] = {1, 2, 3, 4};
                }
            }
        }
        p.Tables.Count = static_cast<uint8_t>(part(MaxLookupTables, k));
        for (LookupTable& t : p.Tables.Tables) {
            t.Name = "Table";
            t.PointCount = MaxTablePoints;
            for (int i = 0; i < MaxTablePoints; ++i) {
                t.Inputs[static_cast<size_t>(i)] = i * 1.25;
                t.Outputs[static_cast<size_t>(i)] = i * -0.3;
            }
        }
        p.Pages.Count = static_cast<uint8_t>(part(MaxDisplayPages, k));
        for (DisplayPage& page : p.Pages.Pages) {
            page.ObjectCount = MaxPageObjects;
            for (DisplayObject& o : page.Objects) {
                o.Text = "Level %5.1f";
                o.Maximum = 1000.5;
                o.Minimum = -0.75;
            }
        }
        p.Tasks.Count = static_cast<uint8_t>(part(MaxTasks, k));
        for (SchedulerTask& t : p.Tasks.Tasks) {
            t.Directory = "LOGS";
            t.FieldCount = 255;
        }
        p.Variables.Count = static_cast<int16_t>(part(255, k));
        for (int i = 0; i < p.Variables.Count; ++i) {
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

// The files of the set saved under base (same folder, same stem), by extension.
std::map<std::string, std::string> fileSet(const std::filesystem::path& base) {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(base.parent_path()))
        if (e.path().stem() == base.stem()) {
            std::ifstream in(e.path(), std::ios::binary);
            files[e.path().extension().string()] = {std::istreambuf_iterator<char>(in), {}};
        }
    return files;
}

void save(SizedProject& m, const std::string& name) {
    m.dialogs.files.push_back(name);
    if (!SalvaProgetto(m.ctx, true)) FailBench("save of " + name + " failed");
}

void load(SizedProject& m, const std::string& name) {
    m.dialogs.files.push_back(name);
    if (!CaricaProgetto(m.ctx, {}) || !m.dialogs.shown.empty()) FailBench("load of " + name + " failed");
}

} // namespace

int main() {
    const std::vector<int> quarters{1, 2, 3, 4};
    std::vector<std::unique_ptr<SizedProject>> saved, loaded;
    std::vector<std::function<double()>> saves, loads;
    for (int k : quarters) {
        saved.push_back(std::make_unique<SizedProject>(k));
        loaded.push_back(std::make_unique<SizedProject>(1));
        SizedProject& a = *saved.back();
        SizedProject& b = *loaded.back();
        const std::string first = a.dir + "/a.prj", again = a.dir + "/b.prj";
        // Loading settles what the filled records leave open (argument bytes are encoded again from their
        // texts, register names follow the model): the project compared is the settled one.
        save(a, first);
        load(a, first);
        save(a, first);
        load(b, first);
        save(b, again);
        const auto one = fileSet(first), two = fileSet(again);
        if (one.size() < 2 || one != two) FailBench("the loaded project differs from the saved one at size " + std::to_string(k));
        size_t bytes = 0;
        for (const auto& [ext, content] : one) bytes += content.size();
        std::printf("size %d/4: %zu files, %zu bytes; loaded equals saved\n", k, one.size(), bytes);
        saves.push_back([&a, first] { return SecondsPerCall(3, [&] { save(a, first); }); });
        loads.push_back([&b, first] { return SecondsPerCall(3, [&] { load(b, first); }); });
    }
    PrintGrowth("save", quarters, InterleavedRounds(saves));
    PrintGrowth("load", quarters, InterleavedRounds(loads));
    return 0;
}
