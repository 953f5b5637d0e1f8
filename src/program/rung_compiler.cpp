#include "program/rung_compiler.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

#include "program/compile_job.h"
#include "program/entry_kinds.h"
#include "program/entry_writer.h"
#include "program/image_bytes.h"
#include "program/label_resolver.h"
#include "program/program_store_ops.h"

namespace {

constexpr int BlockHeadBytes = 34; // opcode, 0 and slots 0..7, always written
constexpr int TriggerBytes = 4;

bool isDisplayRefresh(const CommandRecord& r) { return r.Opcode == 3 && r.SubOp == 254; }

uint8_t slotByte(const CommandRecord& r, int slot, int byte) {
    return r.ArgBytes[static_cast<size_t>(slot)][static_cast<size_t>(byte)];
}

// Device-access and pointer kinds: the slots' bytes straight into the entry.
void writeTransferEntry(std::vector<uint8_t>& img, size_t e, const CommandRecord& r) {
    bool device = isDeviceAccessKind(r.FunctionType);
    img[e] = static_cast<uint8_t>(r.FunctionType);
    img[e + 1] = device ? slotByte(r, 0, 0) : 0;
    img[e + 2] = device ? slotByte(r, 1, 1) : slotByte(r, 0, 1);
    img[e + 3] = device ? slotByte(r, 1, 0) : slotByte(r, 0, 0);
    img[e + 4] = device ? slotByte(r, 2, 0) : 0;
    img[e + 5] = slotByte(r, 3, 1);
    img[e + 6] = slotByte(r, 3, 0);
    img[e + 7] = slotByte(r, 4, 0);
    img[e + 8] = slotByte(r, 5, 0);
    img[e + 9] = r.BreakFlag != 0 ? 1 : 0;
}

// IEEE-754 single, least significant byte first; doubles beyond its range are clamped to it.
void putSingle(std::vector<uint8_t>& img, size_t at, double v) {
    if (std::isfinite(v)) v = std::clamp(v, -static_cast<double>(FLT_MAX), static_cast<double>(FLT_MAX));
    float f = static_cast<float>(v);
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    put32(img, at, bits);
}

// What an operation rung adds to the image, worked out before anything is written.
struct OperationLayout {
    bool trigger = false;
    const LookupTable* table = nullptr; // linearization only
    int points = 0;
    int sizeByte = 0;  // entry byte 7
    int written = 0;   // bytes written from the block start
};

// False when the rung breaks a limit of the image format.
bool planOperation(const CompileJob& job, const CommandRecord& r, OperationLayout& out) {
    out.trigger = job.model.HasTrigger != 0 && r.TriggerFlag == -1;
    if (isLinearization(r)) {
        int t = slotByte(r, 2, 0);
        int tables = std::min<int>(job.project.Tables.Count, MaxLookupTables);
        if (t >= tables) return false;
        out.table = &job.project.Tables.Tables[static_cast<size_t>(t)];
        out.points = out.table->PointCount;
    }
    int data = r.DataSize + 8 * out.points + (out.trigger ? TriggerBytes : 0);
    out.sizeByte = data;
    out.written = std::max(BlockHeadBytes, data);
    int64_t d = job.state.DataPointer;
    // The controller addresses of a table's values must fit their 16-bit slots.
    int64_t outputsAddress = d + job.model.ProgramBase + r.DataSize + 4 * out.points;
    bool addressesFit = !out.table || outputsAddress <= 0xFFFF;
    return r.Opcode <= 255 && data <= 255 && addressesFit && fitsImage(job.project.ProgramImage, d, out.written);
}

// Linearization: the table's size and the controller addresses of its values go into slots 4, 5, 6.
void pointAtTable(const CompileJob& job, CommandRecord& r, int d, int points) {
    uint32_t inputs = static_cast<uint32_t>(d + job.model.ProgramBase + r.DataSize);
    uint32_t outputs = inputs + 4u * static_cast<uint32_t>(points);
    r.ArgBytes[5][0] = static_cast<uint8_t>(points);
    r.ArgBytes[5][1] = 1;
    r.ArgBytes[4][0] = static_cast<uint8_t>(inputs);
    r.ArgBytes[4][1] = static_cast<uint8_t>(inputs >> 8);
    r.ArgBytes[6][0] = static_cast<uint8_t>(outputs);
    r.ArgBytes[6][1] = static_cast<uint8_t>(outputs >> 8);
}

void compileOperation(CompileJob& job, int rung, CommandRecord& r) {
    RisolviArgomenti(job, rung);
    OperationLayout lay;
    bool fits = planOperation(job, r, lay);
    uint8_t flags = static_cast<uint8_t>((r.BreakFlag != 0 ? 1 : 0) | (lay.trigger ? 2 : 0));
    if (!fits || !writeOperationEntry(job, lay.sizeByte, flags)) {
        job.fail(CompileText::Error);
        return;
    }
    std::vector<uint8_t>& img = job.image();
    int d = job.state.DataPointer;

    if (lay.table) pointAtTable(job, r, d, lay.points);
    size_t b = static_cast<size_t>(d);
    img[b] = static_cast<uint8_t>(r.Opcode);
    img[b + 1] = 0;
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 4; ++j) img[b + 2 + 4 * i + j] = slotByte(r, i, j);
    if (isDisplayRefresh(r))
        for (int i = 0; i < 8; ++i) img[b + 2 + 4 * i] = 254;

    size_t p = b + r.DataSize;
    if (lay.table) {
        for (int k = 0; k < lay.points; ++k, p += 4) putSingle(img, p, lay.table->Inputs[static_cast<size_t>(k)]);
        for (int k = 0; k < lay.points; ++k, p += 4) putSingle(img, p, lay.table->Outputs[static_cast<size_t>(k)]);
    }
    if (lay.trigger) p = putCondition(img, p, r.TriggerRegister, r.TriggerMask);
    job.state.DataPointer = static_cast<int32_t>(p);
}

} // namespace

void CompilaRung(CompileJob& job, int rung) {
    CommandRecord& r = job.section(job.project.Program.CurrentSection).Rungs[static_cast<size_t>(rung)];
    // A stored rung the editor refused (when the project was opened) has no encoding to compile.
    if (!isEmptyRung(r) && r.EncodedFlag != -1) {
        job.state.CompileErrorText = NotEncodedText;
        return;
    }
    if (!producesEntry(r.FunctionType)) return;
    if (r.FunctionType == OperationKind) {
        compileOperation(job, rung, r);
        return;
    }
    int e = 0;
    if (!nextEntry(job, e)) {
        job.fail(CompileText::Error);
        return;
    }
    writeTransferEntry(job.image(), static_cast<size_t>(e), r);
}
