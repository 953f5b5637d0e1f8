#pragma once
// A memory write of the configuration windows: the bytes staged at the start of MemoryImage, then sent to
// the node's memory at address (memory access function); the result of ScriviMemoria.
#include <cstdint>
#include <span>

struct AppContext;

bool WriteStaged(AppContext& app, uint8_t node, int32_t address, std::span<const uint8_t> bytes);
