#include "project/project_path.h"

#include <algorithm>
#include <cctype>

#include "project/project_files.h"

std::string projectBase(const std::string& name) {
    constexpr std::string_view ext = ".prj";
    if (name.size() <= ext.size()) return name;
    std::string tail = name.substr(name.size() - ext.size());
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
    return tail == ext ? name.substr(0, name.size() - ext.size()) : name;
}

std::vector<std::string> projectFileNames(const std::string& base) {
    std::vector<std::string> names{mainFileName(base)};
    for (std::string_view extension : SideFileExtensions)
        names.push_back(base + std::string(extension));
    names.push_back(base + std::string(ImageFileExtension));
    return names;
}
