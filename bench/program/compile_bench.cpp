// Compile time at four project sizes, the largest nearly filling the program area of catalogue row 0
// (5634 bytes from 512): labelled rungs jumping to labels, and scheduler tasks. Every compile must succeed,
// fit the area and write the image this project makes (else exit 1): the header's rung and task counts,
// one operation entry per rung and task pointing at its block right after the one before, and in each
// rung's block the Goto and the entry index of the rung its label names. The rungs are made as the engineer
// makes them: opened in the rung editor, the Goto chosen, label and target typed, and OK. Sizes are measured
// in interleaved rounds; the growth is printed as time per entry against the smallest size (1.00 = linear).
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app_context_fixture.h"
#include "bench_stats.h"
#include "fbeditor/catalogue.h"
#include "fbeditor/editor.h"
#include "program/compiler.h"

namespace {

constexpr int EntrySize = 10;
constexpr int GotoFunction = 3;
constexpr int TargetRow = 4; // the Goto's row for the label it jumps to
constexpr uint8_t OperationEntry = 3;
constexpr uint8_t GotoOpcode = 130;
constexpr uint8_t TimedTask = 3;    // the task type with a block of its own
constexpr uint8_t TaskOpcode = 143; // its block
constexpr uint8_t BlockSize = 6; // the opcode, 0 and the target's two bytes and two zero bytes

std::string label(int r) { return "L" + std::to_string(r); }

// A project of `entries` rung-table entries: an eighth of them timed scheduler tasks, the rest labelled main
// rungs, each a jump to another rung's label (so labels are searched).
struct Sized : AppContextFixture {
    explicit Sized(int entries) : AppContextFixture(0) {
        const int tasks = entries / 8;
        const int rungs = entries - tasks;
        project.Program.Sections[0].RungCount = static_cast<int16_t>(rungs);
        Editor editor(ctx);
        for (int16_t r = 1; r <= rungs; ++r) {
            editor.openRung(r);
            editor.chooseFunction(FunzToOpt(GotoFunction, GotoOpcode, 0));
            editor.state.Label = label(r);
            editor.setRowText(TargetRow, label(rungs + 1 - r));
            if (!editor.confirm()) FailBench("the rung editor refused rung " + std::to_string(r));
        }
        project.Tasks.Count = static_cast<uint8_t>(tasks);
        for (int t = 1; t <= tasks; ++t) {
            SchedulerTask& k = project.Tasks.Tasks[static_cast<size_t>(t)];
            k.TaskType = TimedTask;
        }
    }

    int32_t compileChecked() {
        const int32_t used = CompilaProgramma(ctx);
        if (used <= 0 || project.Compiler.CompileErrorCount != 0)
            FailBench("compile of a project of " + std::to_string(project.Compiler.EntryCount) + " entries failed");
        if (used > shell.Models[0].ProgramCapacity) FailBench("compiled image larger than the program area");
        if (const std::string wrong = imageFault(used); !wrong.empty())
            FailBench("compiled image of " + std::to_string(project.Compiler.EntryCount) + " entries: " + wrong);
        return used;
    }

    // What is wrong in the image of this project, or empty when nothing is.
    std::string imageFault(int32_t used) const {
        const std::vector<uint8_t>& img = project.ProgramImage;
        const int rungs = project.Program.Sections[0].RungCount;
        const int tasks = project.Tasks.Count;
        const int entries = rungs + tasks;
        auto u16 = [&](size_t at) { return img[at] | img[at + 1] << 8; };
        auto u32 = [&](size_t at) { return uint32_t(u16(at)) | uint32_t(u16(at + 2)) << 16; };
        if (img[0] != rungs || img[1] != 0 || img[2] != tasks || img[3] != 0) return "header";
        uint32_t expected = 4 + EntrySize * entries; // the blocks follow the table
        for (int e = 0; e < entries; ++e) {
            const size_t at = 4 + size_t(EntrySize) * e;
            const std::string name = "entry " + std::to_string(e + 1);
            if (img[at] != OperationEntry || img[at + 1] != ((e + 1) & 0xff) || img[at + 2] != 0 ||
                img[at + 8] != 0 || img[at + 9] != 0)
                return name;
            const uint32_t block = u32(at + 3);
            if (block != expected) return name + " points at " + std::to_string(block);
            const bool isRung = e < rungs;
            if (img[block] != (isRung ? GotoOpcode : TaskOpcode) || img[block + 1] != 0) return name + "'s block";
            // Rung r + 1 names the label of rung rungs - r: entry rungs - r - 1, counted from 0.
            if (isRung && (u16(block + 2) != rungs - e - 1 || u16(block + 4) != 0 || img[at + 7] != BlockSize))
                return name + "'s Goto target";
            expected = block + (isRung ? BlockSize : img[at + 7]);
        }
        if (expected > uint32_t(used)) return "blocks past the used size";
        return {};
    }
};

} // namespace

int main(int argc, char** argv) {
    ReadBenchMode(argc, argv);
    const std::vector<int> sizes{64, 128, 192, 255};
    std::vector<std::unique_ptr<Sized>> projects;
    std::vector<std::function<double()>> cases;
    for (int entries : sizes) {
        projects.push_back(std::make_unique<Sized>(entries));
        Sized& p = *projects.back();
        const int32_t used = p.compileChecked();
        std::printf("size %d: %d entries, %d of %d bytes of program area\n", entries,
                    int(p.project.Compiler.EntryCount), int(used), int(p.shell.Models[0].ProgramCapacity));
        cases.push_back([&p] { return SecondsPerCall(FullOrShort(50, 1), [&p] { p.compileChecked(); }); });
    }
    PrintGrowth("compile", sizes, InterleavedRounds(cases));
    return 0;
}
