#pragma once
// A project and a controller model to compile for, with the English report texts loaded.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "app_context_fixture.h"
#include "program/compiler.h"

// The operation rung every display page and data block is built from.
inline CommandRecord operation(uint16_t opcode, uint8_t subop, uint16_t dataSize) {
    CommandRecord r;
    r.Description = "operation";
    r.FunctionType = 3;
    r.Opcode = opcode;
    r.SubOp = subop;
    r.DataSize = dataSize;
    r.EncodedFlag = -1;
    return r;
}

// Row 0 of the catalogue is the controller template (programmable, no display, no trigger, 5634 bytes
// of program from 512).
class CompileFixture : public ::testing::Test, public AppContextFixture {
  public:
    CompileFixture() : AppContextFixture(0) {}

    // Catalogue rows the tests compile for.
    static constexpr uint8_t DisplayRow = 9;  // graphic-display controller
    static constexpr uint8_t CsvRow = 5;      // USB controller with the CSV logger
    static constexpr uint8_t TriggerRow = 35; // the one row with triggers
    ModelRecord& model() { return shell.Models[comm.CurrentDevice.ModelIndex]; }
    void useRow(uint8_t row) { comm.CurrentDevice.ModelIndex = row; }
    const CompilerState& state() const { return project.Compiler; }
    const std::vector<uint8_t>& image() const { return project.ProgramImage; }
    std::vector<uint8_t> bytes(size_t at, size_t n) const {
        return {image().begin() + static_cast<long>(at), image().begin() + static_cast<long>(at + n)};
    }

    // Appends a rung to the main program and returns its record.
    CommandRecord& add(CommandRecord r) {
        ProgramSection& s = project.Program.Sections[0];
        s.RungCount += 1;
        return s.Rungs[static_cast<size_t>(s.RungCount)] = std::move(r);
    }
    void addMany(int n, const CommandRecord& r) {
        for (int i = 0; i < n; ++i)
            add(r);
    }

    // A display model whose pages hold the given object counts; section p + 1 gets the page's blocks
    // (objects plus a closing block), the first labelled "PAG" + (p + 1).
    void pages(std::initializer_list<int> objects) {
        useRow(DisplayRow);
        project.Pages.Count = static_cast<uint8_t>(objects.size());
        int p = 0;
        for (int n : objects) {
            project.Pages.Pages[static_cast<size_t>(p)].ObjectCount = static_cast<uint8_t>(n);
            ProgramSection& s = project.Program.Sections[static_cast<size_t>(p + 1)];
            for (int r = 1; r <= n + 1; ++r)
                s.Rungs[static_cast<size_t>(r)] = operation(3, 1, 10);
            s.Rungs[1].Label = "PAG" + std::to_string(p + 1);
            ++p;
        }
    }

    // A display image of `bytes` bytes, each `fill`.
    void displayImage(int bytes, uint8_t fill) {
        DisplayImage im;
        im.ByteCount = static_cast<int16_t>(bytes);
        std::fill_n(im.Bitmap.begin(), std::min<int>(bytes, 529), fill);
        project.Images.Images.push_back(im);
        project.Images.Count = static_cast<uint8_t>(project.Images.Images.size());
    }

    // Report lines after the date line, without the two blanks the log appends.
    std::vector<std::string> report() const {
        std::vector<std::string> out;
        for (const std::string& l : shell.log.lines())
            if (l.rfind("-- ", 0) != 0) out.push_back(l.substr(0, l.size() - 2));
        return out;
    }

    // Each compile starts with an empty log, so report() shows its lines only. The page sections and
    // task blocks are compiled as the test built them.
    int32_t compile() {
        shell.log.LogClear();
        return CompileImage(ctx);
    }

    // Compiles, compares the size and the report lines (none given: not looked at), then starts over
    // with an empty project on the controller row.
    void expectCompile(const char* what, int32_t size, const std::vector<std::string>& lines = {}) {
        SCOPED_TRACE(what);
        EXPECT_EQ(compile(), size);
        if (!lines.empty()) {
            EXPECT_EQ(report(), lines);
        }
        // Every report, failed or not, starts with its date line and "Compiling".
        EXPECT_EQ(shell.log.lines().size(), report().size() + 1);
        EXPECT_EQ(report()[0], shell.UiText[49]);
        project = Project{};
        useRow(0);
    }
};

// Record builders for the rung kinds the compiler tells apart.
inline CommandRecord deviceRung(uint16_t kind, std::initializer_list<uint32_t> slots16) {
    CommandRecord r;
    r.Description = "device";
    r.FunctionType = kind;
    int i = 0;
    for (uint32_t v : slots16) {
        r.ArgBytes[static_cast<size_t>(i)][0] = static_cast<uint8_t>(v);
        r.ArgBytes[static_cast<size_t>(i)][1] = static_cast<uint8_t>(v >> 8);
        ++i;
    }
    r.EncodedFlag = -1;
    return r;
}

inline CommandRecord labelled(CommandRecord r, std::string label) {
    r.Label = std::move(label);
    return r;
}

// A flow rung (Goto 130, Call 131, If(bit) -> Goto 129 ...) with its target texts.
inline CommandRecord flow(uint16_t opcode, std::string target, std::string second = {}) {
    CommandRecord r = operation(opcode, 0, 34);
    r.ArgTexts[4] = std::move(target);
    r.ArgTexts[5] = std::move(second);
    return r;
}

inline uint16_t slot16(const CommandRecord& r, int slot) {
    return static_cast<uint16_t>(r.ArgBytes[static_cast<size_t>(slot)][0] |
                                 r.ArgBytes[static_cast<size_t>(slot)][1] << 8);
}
