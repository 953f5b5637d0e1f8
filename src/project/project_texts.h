#pragma once
// Texts the project files show, and the file dialog's filter.
#include <string>

inline constexpr const char* ProjectFilter = " (*.prj)|*.prj|(*.*)|*.*|";
inline constexpr const char* TableFileFilter = " (*.csv)|*.csv|(*.*)|*.*|";
inline constexpr const char* TablesFullText = "Nine tables at most: the table was not added";
inline constexpr const char* WrongVersionText = "Wrong Version, continue?";
inline constexpr const char* SaveChangesText =
    "Do you want to save your changes?"; // UI text 172 until texts are loaded

inline std::string saveFailedText(const std::string& file) {
    return "The project could not be saved: cannot write " + file;
}
inline std::string subroutinesNotSavedText(const std::string& sections) {
    return "Only the main program is saved with the project; these subroutine sections are not: " + sections;
}
inline std::string overwriteDamagedText(const std::string& files) {
    return "These files of the project could not be read whole when it was loaded: " + files +
           ". Saving replaces them with what the project holds now. Save anyway?";
}
inline std::string loadProblemsText(size_t count) {
    return "The project was loaded with " + std::to_string(count) + " problem(s); see the log.";
}
