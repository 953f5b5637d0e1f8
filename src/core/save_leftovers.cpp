#include "core/save_leftovers.h"

#include <cerrno>
#include <cstring>
#include <tuple>

#include <sys/stat.h>

#include "core/file_read.h"
#include "core/save_journal.h"

namespace {

// A file of the group is in place when its name holds a regular file of its own (not a link to another
// name, whose leftover it might be).
bool inPlace(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// Both read whole and byte for byte the same: the copy holds nothing its file does not.
bool sameBytes(const std::string& path, const std::string& copy) {
    const std::optional<std::string> file = ReadUserFile(path);
    const std::optional<std::string> kept = file ? ReadUserFile(copy) : std::nullopt;
    return kept && *kept == *file;
}

} // namespace

SaveLeftovers FindLeftovers(const std::vector<std::string>& paths, FileSystem& fs) {
    SaveLeftovers found;
    if (paths.empty()) return found;
    const std::string& main = paths.front();
    // Every save, this version's and every earlier one's, writes all its temporary files, the main file's
    // first, before it places any, and places the main file first (this one also removes them the main
    // file's last). While the main file's temporary file is there, that save had placed none of its files.
    // Once it is gone that save may have placed some files and not others, so every temporary file left
    // may be the only copy of a file of that save.
    const bool marked = fs.exists(TemporaryName(main));
    if (marked) found.mark = TemporaryName(main);
    // The others then hold only what it was writing (one whose file is missing with no kept copy, a file
    // it was adding), but only while the main file is in place: without it (a first save, or the main file
    // moved aside and its kept copy gone) they may be all that is left of the project. Such a save, and
    // every removal of what it left, leaves the temporary files of the group's first files and none after
    // a missing one: any other shape is what a settling of an earlier version left beside files changed
    // after a cut-off save, where a temporary file may be the only copy of what that save or the user
    // wrote.
    bool gap = false, missingBefore = false;
    for (const std::string& path : paths) {
        const bool hasTemporary = fs.exists(TemporaryName(path));
        gap |= hasTemporary && missingBefore;
        missingBefore |= !hasTemporary;
    }
    const bool unplacedShape = marked && !gap, nonePlaced = unplacedShape && inPlace(main);
    // The files prove the earlier set where each in place equals its kept copy, and a mix where that save
    // placed some (those without a temporary file), each beside a kept copy of what it held before and one
    // differing from it, and one it had not placed, still as its kept copy holds it, differs from what that
    // save was writing for it: either set can then be made from them.
    bool allKeptSame = true, placedDiffers = false, unplacedDiffers = false, mixUnproven = false;
    for (const std::string& path : paths) {
        const std::string kept = KeptCopyName(path), temporary = TemporaryName(path);
        // A copy is written under a temporary name and renamed whole to the kept name.
        const std::string copying = TemporaryName(kept);
        const bool present = inPlace(path), hasKept = fs.exists(kept), hasTemporary = fs.exists(temporary),
                   hasCopying = fs.exists(copying);
        const bool keptSame = hasKept && present && sameBytes(path, kept);
        for (const auto& [name, there, onlyCopy] :
             {std::tuple{kept, hasKept, !keptSame},
              std::tuple{temporary, hasTemporary, !nonePlaced || (!present && hasKept)},
              std::tuple{copying, hasCopying, !present}}) {
            if (there) found.names.push_back(name);
            if (there && onlyCopy) found.onlyCopies.push_back(name);
        }
        if (!present && hasKept) found.missing.push_back(path);
        allKeptSame &= !present || keptSame;
        if (hasTemporary && present) {
            mixUnproven |= hasKept && !keptSame;
            unplacedDiffers |= !sameBytes(path, temporary);
        } else if (!hasTemporary) {
            mixUnproven |= present != hasKept;
            placedDiffers |= present && hasKept && !keptSame;
        }
    }
    // A journal cut off while it was written: no file of the group had been touched.
    if (const std::string journal = TemporaryName(JournalName(main)); fs.exists(journal))
        found.names.push_back(journal);
    found.inPlace = !inPlace(main) && !fs.exists(KeptCopyName(main))   ? FilesInPlace::NoSet
                    : unplacedShape                                    ? FilesInPlace::EarlierSet
                    : allKeptSame                                      ? FilesInPlace::EarlierByCopy
                    : placedDiffers && unplacedDiffers && !mixUnproven ? FilesInPlace::Mix
                                                                       : FilesInPlace::Unknown;
    return found;
}

std::optional<SaveFailure> RemoveUnfinishedSave(const SaveLeftovers& leftovers, FileSystem& fs) {
    if (!leftovers.onlyCopies.empty() || leftovers.names.empty()) return std::nullopt;
    std::optional<SaveFailure> refused;
    // Last first, and none after one that stays: what is left keeps the shape FindLeftovers reads as
    // this unfinished part.
    const auto remove = [&](const std::string& name) {
        if (!refused) refused = RemoveLeftover(name, fs);
    };
    const std::string folder = FolderOf(leftovers.names.front());
    auto flushed = [&] {
        if (!fs.syncFolder(folder) && !refused) refused = SaveFailure{folder, std::strerror(errno)};
        return !refused;
    };
    for (auto name = leftovers.names.rbegin(); name != leftovers.names.rend(); ++name)
        if (*name != leftovers.mark) remove(*name);
    // The main file's temporary file goes last, once every other is gone for good: until then it shows the
    // next Open or Save that what is left holds nothing else (see FindLeftovers).
    if (!flushed() || leftovers.mark.empty()) return refused;
    remove(leftovers.mark);
    flushed();
    return refused;
}
