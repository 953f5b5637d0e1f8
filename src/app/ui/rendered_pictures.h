#pragma once
// The pictures as drawn when the program was built: premultiplied ARGB pixels, Size x Size, row by row.
#include <cstddef>
#include <cstdint>

struct RenderedPicture {
    const char* Key;
    int Size;
    const uint32_t* Pixels;
};

extern const RenderedPicture RenderedPictures[];
extern const size_t RenderedPictureCount;
