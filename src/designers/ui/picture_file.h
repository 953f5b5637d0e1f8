#pragma once
// Reads a PNG or BMP file as dark and light pixels.
#include <optional>
#include <string>

#include "designers/image_table.h"

// nullopt, with the reason in *reason, when the file cannot be read as a picture. A pixel is dark when it
// is mostly opaque and darker than middle grey. A picture wider or higher than MaxImageSide has its size
// and no pixels.
std::optional<MonoPicture> readMonoPicture(const std::string& path, std::string* reason = nullptr);
