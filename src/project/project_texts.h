#pragma once
// Texts the project files show, and the file dialog's filter.
#include <string>

inline constexpr const char* ProjectFilter = " (*.prj)|*.prj|(*.*)|*.*|";
inline constexpr const char* TableFileFilter = " (*.csv)|*.csv|(*.*)|*.*|";
inline constexpr const char* TablesFullText = "Nine tables at most: the table was not added";
inline constexpr const char* WrongVersionText = "Wrong Version, continue?";
inline constexpr const char* SaveChangesText =
    "Do you want to save your changes?"; // UI text 172 until texts are loaded

inline std::string saveFailedText(const std::string& file, const std::string& reason) {
    return "The project could not be saved: cannot write " + file + ": " + reason;
}
inline std::string cutOffSaveText(const std::string& mainFile, bool finished) {
    return "The last save of " + mainFile + " was cut off before all its files were written. " +
           (finished ? "That save has now been completed."
                     : "The project is back as it was saved before it.");
}
inline std::string cutOffSaveUnsettledText(const std::string& mainFile, const std::string& file,
                                           const std::string& reason) {
    return "The last save of " + mainFile + " was cut off, and its files could not be put in order (" + file +
           ": " + reason + "). They may be a mix of two saves; the project was neither opened nor saved.";
}
inline std::string cutOffSaveLeftText(const std::string& mainFile, const std::string& changed,
                                      const std::string& keptCopies) {
    std::string text = "The last save of " + mainFile +
                       " was cut off, and these files were changed after it: " + changed +
                       ". The project's files were left as they are and may be a mix of two saves; only what "
                       "that save had left beside them was removed.";
    if (!keptCopies.empty()) text += " Earlier contents are kept in " + keptCopies + " until the next save.";
    return text;
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
