#include "project/project_path.h"

#include <algorithm>
#include <cctype>

std::string projectBase(const std::string& name) {
    constexpr std::string_view ext = ".prj";
    if (name.size() <= ext.size()) return name;
    std::string tail = name.substr(name.size() - ext.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ext ? name.substr(0, name.size() - ext.size()) : name;
}
