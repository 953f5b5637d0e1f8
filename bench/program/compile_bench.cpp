// Compile time of the largest projects the image format holds.
#include <benchmark/benchmark.h>

#include <memory>

#include "app_context_fixture.h"
#include "program/compiler.h"

namespace {

std::string label(int r) {
    std::string s = "L";
    s += std::to_string(r);
    return s;
}

// Row 0 of the catalogue (5634 bytes of program from 512) with triggers, the CSV logger and, when
// asked, a display.
struct Bench : AppContextFixture {
    explicit Bench(bool display) : AppContextFixture(0) {
        ModelRecord& m = shell.Models[0];
        m.HasDisplay = display ? -1 : 0;
        m.HasTrigger = -1;
        m.HasCsvLogger = -1;
        project.Tables.Count = 1;
        project.Tables.Tables[0].PointCount = 26;
    }

    // The largest rung: a linearization over 26 points with a trigger, 246 data bytes; every fourth
    // rung a labelled Goto, so that labels are searched too.
    void mainRungs(int n) {
        ProgramSection& s = project.Program.Sections[0];
        s.RungCount = static_cast<int16_t>(n);
        for (int r = 1; r <= n; ++r) {
            CommandRecord& c = s.Rungs[static_cast<size_t>(r)];
            c.Label = label(r);
            c.FunctionType = 3;
            if (r % 4 == 0) {
                c.Opcode = 130;
                c.DataSize = 6;
                c.ArgTexts[4] = label(n + 1 - r);
                continue;
            }
            c.Opcode = 1;
            c.SubOp = 8;
            c.DataSize = 34;
            c.TriggerFlag = -1;
        }
    }

    void pages(int count, int objects) {
        project.Pages.Count = static_cast<uint8_t>(count);
        for (int p = 0; p < count; ++p) {
            project.Pages.Pages[static_cast<size_t>(p)].ObjectCount = static_cast<uint8_t>(objects);
            ProgramSection& s = project.Program.Sections[static_cast<size_t>(p + 1)];
            for (int r = 1; r <= objects + 1; ++r) {
                CommandRecord& c = s.Rungs[static_cast<size_t>(r)];
                c.FunctionType = 3;
                c.Opcode = 3;
                c.SubOp = 1;
                c.DataSize = 34;
            }
            s.Rungs[1].Label = "PAG" + std::to_string(p + 1);
        }
    }

    void tasks(int count) {
        project.Tasks.Count = static_cast<uint8_t>(count);
        for (int t = 1; t <= count; ++t) {
            SchedulerTask& k = project.Tasks.Tasks[static_cast<size_t>(t)];
            k.TaskBlock.Opcode = 138;
            k.TaskBlock.DataSize = 207;
            k.EnableFlag = -1;
            k.FieldCount = 16;
        }
    }
};

void run(benchmark::State& st, Bench& b) {
    int32_t used = 0;
    for (auto _ : st) {
        used = CompilaProgramma(b.ctx);
        benchmark::DoNotOptimize(used);
    }
    st.counters["entries"] = b.project.Compiler.EntryCount;
    st.counters["data_end"] = b.project.Compiler.DataPointer;
}

// 255 entries: 87 main rungs, 4 display pages of 32 objects, 36 tasks (the display controller rows
// allow 0 tasks, but the format is measured at its limit). The data overflow the program area, so the
// compile runs to its size check and fails there.
void BM_CompileMaximalDisplayProject(benchmark::State& st) {
    auto b = std::make_unique<Bench>(true);
    b->mainRungs(87);
    b->pages(4, 32);
    b->tasks(36);
    run(st, *b);
}
BENCHMARK(BM_CompileMaximalDisplayProject)->Unit(benchmark::kMicrosecond);

// 255 main rungs of the largest blocks, no display.
void BM_Compile255MainRungs(benchmark::State& st) {
    auto b = std::make_unique<Bench>(false);
    b->mainRungs(255);
    run(st, *b);
}
BENCHMARK(BM_Compile255MainRungs)->Unit(benchmark::kMicrosecond);

// A project that fits: 16 main rungs, 2 pages of 8 objects, 4 tasks.
void BM_CompileFittingProject(benchmark::State& st) {
    auto b = std::make_unique<Bench>(true);
    b->mainRungs(16);
    b->pages(2, 8);
    b->tasks(4);
    run(st, *b);
}
BENCHMARK(BM_CompileFittingProject)->Unit(benchmark::kMicrosecond);

} // namespace
