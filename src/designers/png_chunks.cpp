#include "designers/png_chunks.h"

#include <cstddef>
#include <cstdint>

namespace {

constexpr std::string_view PngSignature("\x89PNG\r\n\x1a\n", 8);
constexpr size_t ChunkFrame = 12; // length, type and check around the chunk's data

uint32_t bigEndian32(std::string_view bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | uint8_t(bytes[at + i]);
    return value;
}

} // namespace

bool PngChunksFitFile(std::string_view bytes) {
    if (bytes.substr(0, PngSignature.size()) != PngSignature) return true;
    size_t at = PngSignature.size();
    while (at < bytes.size()) {
        if (bytes.size() - at < ChunkFrame || bigEndian32(bytes, at) > bytes.size() - at - ChunkFrame)
            return false;
        if (bytes.substr(at + 4, 4) == "IEND") return true;
        at += ChunkFrame + bigEndian32(bytes, at);
    }
    return true;
}
