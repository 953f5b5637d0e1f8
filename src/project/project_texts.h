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
// A failed save whose putting back of the earlier files failed too: what the files hold (one of the
// Set...Text) and what the next Open does with them (one of the Next...Text).
inline std::string saveUndoFailedText(const std::string& file, const std::string& reason,
                                      const std::string& undoFile, const std::string& undoReason,
                                      const std::string& holds, const std::string& next) {
    return saveFailedText(file, reason) + ". Putting the earlier files back failed too (" + undoFile + ": " +
           undoReason + "), so " + holds + "; " + next;
}
inline constexpr const char* SetMixedText =
    "the project's files are left as a mix of the earlier save and this one";
inline constexpr const char* SetNewText = "the project's files all hold what this save wrote";
inline constexpr const char* SetOldText = "the project's files hold what they held before";
inline constexpr const char* NextCompletesText =
    "the next Open or Save of the project will complete this save.";
inline constexpr const char* NextPutsBackText =
    "the next Open or Save of the project will put the earlier files back.";
inline constexpr const char* NextLeavesText =
    "the next Open or Save of the project will leave them as they are and name the files that differ.";
inline std::string journalLeftText(const std::string& journal, const std::string& reason) {
    return "The project was saved, but " + journal + ", which the save keeps beside it while it works, " +
           "could not be removed: " + reason + ". The next Open or Save of the project removes it.";
}
inline std::string cutOffSaveText(const std::string& mainFile, bool finished) {
    return "The last save of " + mainFile + " was cut off before all its files were written. " +
           (finished ? "That save has now been completed."
                     : "The project is back as it was saved before it.");
}
inline std::string cutOffSaveWholeText(const std::string& mainFile) {
    return "The last save of " + mainFile +
           " had written all its files, but what it keeps beside them while it works was still there (it was "
           "cut off, or could not remove it). That save is complete, and those files have now been removed.";
}
inline std::string cutOffSaveUnsettledText(const std::string& mainFile, const std::string& file,
                                           const std::string& reason) {
    return "The last save of " + mainFile + " was cut off, and its files could not be put in order (" + file +
           ": " + reason + "). They may be a mix of two saves; the project was neither opened nor saved.";
}
inline constexpr const char* NotSavedText = "The project was not saved. ";
inline std::string cutOffSaveLeftText(const std::string& mainFile, const std::string& changed,
                                      const std::string& keptCopies, bool saving) {
    std::string text = std::string(saving ? NotSavedText : "") + "The last save of " + mainFile +
                       " was cut off, and these files were changed after it: " + changed +
                       ". The project's files were left as they are and may be a mix of two saves; only what "
                       "that save had left beside them was removed.";
    if (!keptCopies.empty())
        text +=
            " Earlier contents are kept in " + keptCopies +
            ", which no save removes: compare them with their files and remove them before the project is "
            "saved under this name.";
    return text;
}
// Files beside the set that no journal accounts for (names).
inline std::string strayLeftoversText(const std::string& mainFile, const std::string& names, bool saving) {
    return std::string(saving ? NotSavedText : "") + "Beside " + mainFile +
           " are files left by a save that was cut off (by this or an earlier version): " + names +
           ". They may hold the only copy of what the file they are named after held before (\".old~\") or "
           "was being saved as (\".tmp~\"), so no save removes them. Compare each with its file, rename the "
           "ones to keep (to that file's name, or elsewhere) and remove the rest: until then the project can "
           "be saved only under another name (Save As).";
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
