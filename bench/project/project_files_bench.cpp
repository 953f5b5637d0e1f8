// Save and load of a project at four sizes, a quarter to all of a full set: up to 256 main rungs, nine
// tables of 26 points, nine pages of 32 objects, 36 tasks recording 255 fields, 255 variables, 128
// strings, 32 blocks, 255 display images of 529 bytes, 100 watched registers and 2,004 named registers. The
// project loaded back into an empty one must hold every record of the project that was saved, compared in
// memory record by record, and saving it again must write the same files byte for byte (else exit 1). Sizes
// are measured in interleaved rounds; the growth is printed as time per quarter against the smallest size.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <tuple>

#include "bench_stats.h"
#include "comm/register_map.h"
#include "core/app_context.h"
#include "designers/image_table.h"
#include "program/display_compiler.h"
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

    // quarters 0: an empty project, as the program starts with.
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
        MappaRegistri(ctx, false); // the model's own registers named, as the program starts
        if (quarters == 0) return;
        fill(*project, *comm, quarters);
        addImages(part(MaxImages, quarters));
        settle();
    }
    ~SizedProject() { std::filesystem::remove_all(dir); }

    // What the editors leave once the engineer typed the project: every rung encoded from its texts,
    // the tables given their memory pages, the pages compiled into program sections 1 to 4.
    void settle() {
        const ProgramSection& main = project->Program.Sections[0];
        for (int16_t r = 1; r <= main.RungCount; ++r)
            if (!rebuildRung(ctx, 0, r)) FailBench("rung " + std::to_string(r) + " could not be encoded");
        AllocaTabelle(project->Tables);
        frm_display::CompilaOggetti(project->Pages, project->Program);
    }

    // Images of the largest bitmap an image holds (248 by 17 pixels: 2 + 17 * 31 bytes), added as the
    // image table's window adds a picture; each of another pattern.
    void addImages(int count) {
        ImageEditor images(project->Images, project->ProjectModified, dialogs);
        for (int i = 0; i < count; ++i) {
            MonoPicture picture{248, 17, {}};
            for (int y = 0; y < picture.height; ++y)
                for (int x = 0; x < picture.width; ++x)
                    picture.dark.push_back((3 * x + 5 * y + i) % 7 < 3);
            if (images.addImage("Image " + std::to_string(i), picture) != i)
                FailBench("image " + std::to_string(i) + " refused");
        }
    }

    static void fill(Project& p, CommState& comm, int k) {
        // The main program only: the file set holds no subroutines, and sections 1 to 4 are the pages.
        ProgramSection& main = p.Program.Sections[0];
        main.RungCount = static_cast<int16_t>(part(MaxRungs, k));
        for (int r = 1; r <= main.RungCount; ++r) {
            CommandRecord& c = main.Rungs[static_cast<size_t>(r)];
            c.Description = "Rung description " + std::to_string(r);
            c.Label = "L0_" + std::to_string(r);
            c.FunctionType = 3;
            c.Opcode = 1;
            for (int a = 0; a < 8; ++a) {
                c.ArgTexts[static_cast<size_t>(a)] = "%R" + std::to_string(100 + a);
                c.ArgBytes[static_cast<size_t>(a)] = {1, 2, 3, 4};
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
        for (size_t i = 0; i < 128; ++i) // the model's strings and blocks
            p.Strings[i].Text = "A project string of thirty-two b";
        for (size_t i = 0; i < 32; ++i) {
            p.Blocks[i].Name = "Block";
            p.Blocks[i].Text = "First line of the block\r\nSecond line of the block\r\nThird line";
        }
        p.Watch[0] = 100;
        for (size_t i = 45; i < comm.Registers.size(); ++i) // the model's own registers keep their names
            comm.Registers[i].Name = "Register name";
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

// Names the first record of the saved set that the loaded project does not hold as the saved one did;
// empty when none. Records past a table's count are not part of the project.
std::string firstDifference(const SizedProject& saved, const SizedProject& loaded) {
    const Project& a = *saved.project;
    const Project& b = *loaded.project;
    auto at = [](const std::string& what, size_t i) { return what + " " + std::to_string(i); };
    for (size_t s = 0; s < a.Program.Sections.size(); ++s) {
        const ProgramSection& x = a.Program.Sections[s];
        const ProgramSection& y = b.Program.Sections[s];
        if (x.RungCount != y.RungCount) return at("the rung count of section", s);
        for (size_t r = 1; r <= size_t(x.RungCount); ++r)
            if (x.Rungs[r] != y.Rungs[r]) return at("rung", r) + at(" of section", s);
    }
    if (a.Variables.Count != b.Variables.Count) return "the variable count";
    for (size_t i = 0; i < a.Variables.Count; ++i)
        if (a.Variables.Variables[i] != b.Variables.Variables[i]) return at("variable", i);
    for (size_t i = 0; i < a.Strings.size(); ++i)
        if (a.Strings[i] != b.Strings[i]) return at("string", i);
    for (size_t i = 0; i < a.Blocks.size(); ++i)
        if (a.Blocks[i] != b.Blocks[i]) return at("text block", i);
    if (a.Tables.Count != b.Tables.Count) return "the table count";
    for (size_t i = 0; i < a.Tables.Count; ++i)
        if (a.Tables.Tables[i] != b.Tables.Tables[i]) return at("table", i);
    if (a.Images.Count != b.Images.Count) return "the image count";
    auto savedImage = [](const DisplayImage& im) { return std::tie(im.Name, im.ByteCount, im.Bitmap); };
    for (size_t i = 0; i < a.Images.Count; ++i)
        if (savedImage(a.Images.Images[i]) != savedImage(b.Images.Images[i])) return at("image", i);
    if (a.Watch != b.Watch) return "the watch list";
    if (a.Pages.Count != b.Pages.Count) return "the page count";
    for (size_t p = 0; p < a.Pages.Count; ++p) {
        const DisplayPage& x = a.Pages.Pages[p];
        const DisplayPage& y = b.Pages.Pages[p];
        if (x.ObjectCount != y.ObjectCount) return at("the object count of page", p);
        for (size_t o = 1; o <= x.ObjectCount; ++o)
            if (x.Objects[o] != y.Objects[o]) return at("object", o) + at(" of page", p);
    }
    if (a.Tasks.Count != b.Tasks.Count) return "the task count";
    auto savedFields = [](const SchedulerTask& t) {
        return std::tie(t.DateTime, t.TaskType, t.Interval, t.Directory, t.Options, t.TriggerRegister,
                        t.TriggerBit, t.FieldCount, t.FieldList, t.EnableFlag, t.EnableRegister,
                        t.EnableBit, t.ActionRegister, t.ActionValue);
    };
    for (size_t i = 1; i <= a.Tasks.Count; ++i)
        if (savedFields(a.Tasks.Tasks[i]) != savedFields(b.Tasks.Tasks[i])) return at("task", i);
    // The model's own registers keep the names the model gives them; the project names the others.
    for (size_t i = size_t(saved.ctx.model().FirstUserRegister); i < saved.comm->Registers.size(); ++i)
        if (saved.comm->Registers[i].Name != loaded.comm->Registers[i].Name) return at("the name of register", i);
    return {};
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

int main(int argc, char** argv) {
    ReadBenchMode(argc, argv);
    const std::vector<int> quarters{1, 2, 3, 4};
    std::vector<std::unique_ptr<SizedProject>> saved, loaded;
    std::vector<std::function<double()>> saves, loads;
    for (int k : quarters) {
        saved.push_back(std::make_unique<SizedProject>(k));
        loaded.push_back(std::make_unique<SizedProject>(0));
        SizedProject& a = *saved.back();
        SizedProject& b = *loaded.back();
        const std::string first = a.dir + "/a.prj", again = a.dir + "/b.prj";
        // a is the project as filled, never loaded: b, loaded from its files, must hold what a holds;
        // saved again, b must write the same files.
        save(a, first);
        load(b, first);
        if (const std::string d = firstDifference(a, b); !d.empty())
            FailBench("the loaded project differs from the saved one at size " + std::to_string(k) + ": " + d);
        save(b, again);
        const auto one = fileSet(first), two = fileSet(again);
        if (one.size() < 2 || one != two)
            FailBench("the files saved again differ from the first save at size " + std::to_string(k));
        size_t bytes = 0;
        for (const auto& [ext, content] : one) bytes += content.size();
        std::printf("size %d/4: %zu files, %zu bytes; loaded equals saved\n", k, one.size(), bytes);
        saves.push_back([&a, first] { return SecondsPerCall(FullOrShort(3, 1), [&] { save(a, first); }); });
        loads.push_back([&b, first] { return SecondsPerCall(FullOrShort(3, 1), [&] { load(b, first); }); });
    }
    PrintGrowth("save", quarters, InterleavedRounds(saves));
    PrintGrowth("load", quarters, InterleavedRounds(loads));
    return 0;
}
