#pragma once
// Texts the project files show, and the file dialog's filter.
#include <string>
#include <vector>

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
// What a settling could not remove of what a save left beside the files (file, reason, and the others
// still there): the journal stays, so the next settling removes them.
inline std::string exceptLeftText(const std::string& file, const std::string& reason,
                                  const std::string& others) {
    return file.empty()
               ? ""
               : ", except " + file + " (" + reason + ")" + (others.empty() ? "" : " and " + others) +
                     ", which the next Open or Save removes";
}
inline std::string cutOffSaveText(const std::string& mainFile, bool finished, const std::string& left) {
    return "The last save of " + mainFile + " was cut off before all its files were written. " +
           (finished ? "That save has now been completed" : "The project is back as it was saved before it") +
           (left.empty() ? "." : "; what that save left beside the files has been removed" + left + ".");
}
inline std::string cutOffSaveWholeText(const std::string& mainFile, const std::string& left) {
    return "The last save of " + mainFile +
           " had written all its files, but what it keeps beside them while it works was still there. That "
           "save is complete, and those files have now been removed" +
           left + ".";
}
inline std::string cutOffSaveUnsettledText(const std::string& mainFile, const std::string& file,
                                           const std::string& reason) {
    return "The last save of " + mainFile + " was cut off, and its files could not be put in order (" + file +
           ": " + reason + "). They may be a mix of two saves; the project was neither opened nor saved.";
}
inline constexpr const char* NotSavedText = "The project was not saved. ";
// keptCopies, newCopies and changedCopies: the ".old~" and ".tmp~" files kept as the only copies of what the
// files held before that save, of what it was writing, and of what was changed in them after it; journal:
// the journal, where it stays with them.
struct CutOffSaveKept {
    std::string keptCopies, newCopies, changedCopies, journal;
};
// Where a set left as found was met: at an Open, at a Save that stops (what that save left stays beside
// the files), or at a Save that goes on, nothing of that save being kept any more.
enum class FoundAt { Open, StoppedSave, Save };
inline std::string cutOffSaveLeftText(const std::string& mainFile, const std::string& changed,
                                      const CutOffSaveKept& kept, FoundAt at, const std::string& left) {
    const std::string cutOff = "The last save of " + mainFile +
                               " was cut off, and these files were changed after it: " + changed + ". ";
    if (at == FoundAt::Save)
        return cutOff +
               "The project's files were left as they were found and may have been a mix of two saves; "
               "nothing that save left beside them remains, and its journal has been removed, so this Save "
               "writes the project over them.";
    std::string text = std::string(at == FoundAt::StoppedSave ? NotSavedText : "") + cutOff +
                       "The project's files were left as they are and may be a mix of two saves; of what "
                       "that save had left beside them, only what the files hold too was removed" +
                       left + ".";
    // Each kind of copy kept, the first with its verb.
    const struct {
        const std::string& names;
        const char *first, *then;
    } kinds[] = {
        {kept.keptCopies, "Earlier contents are kept in ", "earlier contents in "},
        {kept.newCopies, "What that save was writing is kept in ", "what that save was writing in "},
        {kept.changedCopies, "Changes made after that save are kept in ", "changes made after that save in "},
    };
    std::vector<std::string> copies;
    for (const auto& kind : kinds)
        if (!kind.names.empty()) copies.push_back((copies.empty() ? kind.first : kind.then) + kind.names);
    std::string names;
    for (size_t i = 0; i < copies.size(); ++i)
        names += (i == 0 ? "" : i + 1 < copies.size() ? ", " : ", and ") + copies[i];
    if (!names.empty())
        text +=
            " " + names +
            ", which no save removes: compare each with its file, keep what is needed of it, and remove it "
            "before the project is saved under this name.";
    if (!kept.journal.empty()) {
        const bool one = names.find(", ") == std::string::npos;
        text += " " + kept.journal + ", that save's journal, stays with " + (one ? "it" : "them") +
                ", so that every Open names " + (one ? "it" : "them") + " again; once " +
                (one ? "it is" : "they are") + " gone, the next Open or Save removes the journal.";
    }
    return text;
}
// Files beside the set that no journal accounts for and none of which can be the only copy of anything,
// removed. refused names the first that could not be, with the reason, others the rest still there, and
// mark the main file's temporary file where it stays beside them to show that they are still the
// unfinished part of that save.
// nonePlaced: the main file's temporary file showed that save had placed none of its files, so the files
// in place are the set saved before it; otherwise only copies the same as their files, or unfinished
// ones, were there, which tell nothing of the set.
struct UnfinishedSaveRemoval {
    std::string mainFile;
    bool nonePlaced = false;
    std::string refused = {}, reason = {}, others = {}, mark = {};
};
inline std::string unfinishedSaveRemovedText(const UnfinishedSaveRemoval& removal) {
    const std::string left =
        (removal.others.empty() ? ")" : "), " + removal.others) +
        (removal.mark.empty()
             ? ", which the next Open or Save removes."
             : " and " + removal.mark +
                   ", kept to show that what is left is that unfinished save: the next Open or "
                   "Save removes them.");
    return (removal.nonePlaced
                ? "The files of " + removal.mainFile +
                      " in place are the project as it was last saved whole. Beside them were files of a "
                      "save left unfinished, which hold nothing else: "
                : "The copies that a save left beside the files of " + removal.mainFile +
                      ", unfinished or the same as their files, hold nothing else: ") +
           (removal.refused.empty()
                ? "they have been removed."
                : "they have been removed, except " + removal.refused + " (" + removal.reason + left);
}
// Files beside the set that no journal accounts for, some of which may hold the only copy of a file
// (names), and what the files in place are (one of the ...InPlaceText, given the files not in place whose
// earlier content only their ".old~" holds).
// filesInPlace: some file of the project is in place.
inline std::string strayLeftoversText(const std::string& mainFile, const std::string& names,
                                      const std::string& inPlace, bool saving, bool filesInPlace) {
    return std::string(saving ? NotSavedText : "") + "Beside " + mainFile +
           " are files that a save left, some of which may hold the only copy of what a file of the project "
           "held: " +
           names +
           (filesInPlace ? ". They belong together with the files in place as one set: "
                         : ". No file of the project is in place: ") +
           "each \".old~\" file holds what its file held before that save, each \".tmp~\" file what that "
           "save was writing for it. " +
           inPlace +
           " Never keep some files of one set and some of the other. Until the files named here are gone, "
           "the project can be saved only under another name (Save As).";
}
// That one file or several (names, a list) are not in place.
inline std::string notInPlaceText(const std::string& names) {
    return (names.find(", ") == std::string::npos ? " is" : " are") + std::string(" not in place");
}
// The files in place (but for missing) are the earlier set; whether the ".tmp~" files hold all that save
// was writing (it had placed none of its files).
inline std::string earlierSetInPlaceText(const std::string& missing, bool laterInTemporaries) {
    const std::string later =
        laterInTemporaries
            ? "; to keep what that save was writing instead, rename every \".tmp~\" file to its file's name "
              "and remove the \".old~\" files."
            : ". That save may have replaced some files before it was cut off, so the \".tmp~\" files may "
              "not hold all it was writing: never put them in place of their files.";
    if (missing.empty())
        return "The files in place are the project as it was saved before that save: to keep it, remove the "
               "files named here" +
               later;
    return "The files in place are the project as it was saved before that save, but for " + missing +
           ", which" + notInPlaceText(missing) +
           ": to keep it, rename the \".old~\" file of each to its name and remove the other files named "
           "here" +
           later;
}
// The main file (mainFile, a name) is missing and no kept copy holds it.
inline std::string noSetInPlaceText(const std::string& mainFile) {
    return mainFile + " is not in place, and no \".old~\" file holds what it held: no set of the project is "
                      "in place whole. The \".tmp~\" files hold what that save was writing, perhaps cut off; "
                      "remove none of the files named here before you have kept what you need of them.";
}
inline std::string mixInPlaceText(const std::string& missing) {
    return "The files in place are a mix of that save and the one before it" +
           (missing.empty() ? std::string() : ", and " + missing + notInPlaceText(missing)) +
           ": to have the project as it was saved before that save, rename every \".old~\" file to its "
           "file's name and remove the \".tmp~\" files; to have what that save was writing, rename every "
           "\".tmp~\" file to its file's name and remove the \".old~\" files.";
}
// The leftovers cannot tell which set the files in place form: no file named here is to go until they
// are one set whole.
inline std::string unknownSetInPlaceText(const std::string& missing) {
    return "The files in place may be a mix of that save and the one before it" +
           (missing.empty() ? std::string() : ", and " + missing + notInPlaceText(missing)) +
           "; what is beside them cannot tell which set each holds: compare each file named here with its "
           "file, and remove none of them until the files in place are one set whole.";
}
// A save that placed every file could not remove a kept copy of an old file (copy), which stays.
inline std::string keptCopyLeftText(const std::string& copy, const std::string& reason) {
    return "The project was saved, but " + copy + ", the copy of a file as it was before this save, could " +
           "not be removed: " + reason + ". The next Open or Save of the project removes it.";
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
