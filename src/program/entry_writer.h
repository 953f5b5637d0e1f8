#pragma once
// The rung table: entries written one after the other behind the 4-byte header.
#include <cstdint>

struct CompileJob;

constexpr int MaxEntries = 255; // the header counts entries in one byte

// Reserves the next entry and gives its image offset; false when the planned table is full.
bool nextEntry(CompileJob& job, int& offset);

// Writes the next entry as a kind-3 entry for a data block at DataPointer, with the next block index,
// the entry's data size byte and its flags (bit 0 breakpoint, bit 1 trigger data); false when full.
bool writeOperationEntry(CompileJob& job, int sizeByte, uint8_t flags);
