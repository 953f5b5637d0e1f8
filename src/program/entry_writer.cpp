#include "program/entry_writer.h"

#include "program/compile_job.h"
#include "program/entry_kinds.h"
#include "program/image_bytes.h"

namespace {
constexpr int EntrySize = 10;
} // namespace

bool nextEntry(CompileJob& job, int& offset) {
    int next = 4 + EntrySize * job.state.EntryCount;
    // The table never grows into the data area planned behind it.
    if (job.state.EntryCount >= MaxEntries || next + EntrySize > job.state.DataStart) return false;
    job.state.EntryCount += 1;
    offset = next;
    return true;
}

bool writeOperationEntry(CompileJob& job, int sizeByte, uint8_t flags) {
    int e = 0;
    if (!nextEntry(job, e)) return false;
    CompilerState& st = job.state;
    st.BlockIndex += 1;
    std::vector<uint8_t>& img = job.image();
    size_t at = static_cast<size_t>(e);
    img[at] = OperationKind;
    img[at + 1] = static_cast<uint8_t>(st.BlockIndex);
    img[at + 2] = 0;
    put32(img, at + 3, static_cast<uint32_t>(st.DataPointer));
    img[at + 7] = static_cast<uint8_t>(sizeByte);
    img[at + 8] = 0;
    img[at + 9] = flags;
    return true;
}
