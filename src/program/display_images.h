#pragma once
// Display images, stored in the program image downward from a top offset.
#include <cstdint>
#include <optional>

struct CompileJob;

// Places every image of the image table and sets its device address. Returns the offset of the lowest
// placed byte (the top when there are no images); nullopt when an image would leave the program area.
std::optional<int64_t> placeImages(CompileJob& job);
