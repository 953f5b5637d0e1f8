#pragma once
// The string resources by identifier: 501 version, 600 + BrandOffset + k brand sets, 900..903 language
// names, 1200 + k function-block names, 2000 + 1000 x Language + k interface texts.
#include <optional>
#include <string>

std::optional<std::string> ResourceString(int id);
