#pragma once
// The base name of a project's file set and the name of its main file.
#include <string>

// name without ".prj" (in any letter case); a name without it is kept whole.
std::string projectBase(const std::string& name);
inline std::string mainFileName(const std::string& base) {
    return base + ".prj";
}
