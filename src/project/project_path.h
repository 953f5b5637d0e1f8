#pragma once
// The base name of a project's file set and the name of its main file.
#include <string>
#include <vector>

// name without ".prj" (in any letter case); a name without it is kept whole.
std::string projectBase(const std::string& name);
inline std::string mainFileName(const std::string& base) {
    return base + ".prj";
}
// Every file of the set, in the order the save writes them: the main file, the side files, the images.
std::vector<std::string> projectFileNames(const std::string& base);
