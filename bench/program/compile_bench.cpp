// Compile time at four project sizes, the largest filling the program area of catalogue row 0 (5634
// bytes from 512): labelled rungs jumping to labels, and scheduler tasks. Every
// compile must succeed and fit the area (else exit 1). Sizes are measured in interleaved rounds; the
// growth is printed as time per entry against the smallest size (1.00 = linear).
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_context_fixture.h"
#include "bench_stats.h"
#include "program/compiler.h"

namespace {

std::string label(int r) { return "L" + std::to_string(r); }

// A project of `entries` rung-table entries: an eighth of them scheduler tasks, the rest labelled main
// rungs, each a jump to another rung's label (so labels are searched).
struct Sized : AppContextFixture {
    explicit Sized(int entries) : AppContextFixture(0) {
        const int tasks = entries / 8;
        const int rungs = entries - tasks;
        ProgramSection& main = project.Program.Sections[0];
        main.RungCount = static_cast<int16_t>(rungs);
        for (int r = 1; r <= rungs; ++r) {
            CommandRecord& c = main.Rungs[static_cast<size_t>(r)];
            c.Label = label(r);
            c.FunctionType = 3;
            c.Opcode = 130;
            c.DataSize = 6;
            c.ArgTexts[4] = label(rungs + 1 - r);
        }
        project.Tasks.Count = static_cast<uint8_t>(tasks);
        for (int t = 1; t <= tasks; ++t) {
            SchedulerTask& k = project.Tasks.Tasks[static_cast<size_t>(t)];
            k.TaskBlock.Opcode = 136;
            k.TaskBlock.DataSize = 6;
        }
    }

    int32_t compileChecked() {
        const int32_t used = CompilaProgramma(ctx);
        if (used <= 0 || project.Compiler.CompileErrorCount != 0)
            FailBench("compile of a project of " + std::to_string(project.Compiler.EntryCount) + " entries failed");
        if (used > shell.Models[0].ProgramCapacity) FailBench("compiled image larger than the program area");
        return used;
    }
};

} // namespace

int main() {
    const std::vector<int> sizes{64, 128, 192, 255};
    std::vector<std::unique_ptr<Sized>> projects;
    std::vector<std::function<double()>> cases;
    for (int entries : sizes) {
        projects.push_back(std::make_unique<Sized>(entries));
        Sized& p = *projects.back();
        const int32_t used = p.compileChecked();
        std::printf("size %d: %d entries, %d of %d bytes of program area\n", entries,
                    int(p.project.Compiler.EntryCount), int(used), int(p.shell.Models[0].ProgramCapacity));
        cases.push_back([&p] { return SecondsPerCall(50, [&p] { p.compileChecked(); }); });
    }
    PrintGrowth("compile", sizes, InterleavedRounds(cases));
    return 0;
}
