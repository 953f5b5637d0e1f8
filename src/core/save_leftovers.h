#pragma once
// Files a group save leaves beside its files that no journal names: a save cut off before it wrote its
// journal (its temporary files, kept copies equal to their files, a kept copy or the journal still being
// written), a save that could not remove a kept copy, or an earlier version's save, which moved the old
// files aside before it wrote a journal, or wrote none and left the files it had not yet placed as
// temporary files. What cannot be the only copy of anything (the temporary files of a save that had placed
// none of its files, a kept copy equal to its file, an unfinished copy or journal) is the unfinished part
// of a save that was never completed, but only while the main file is in place and the temporary files
// have the shape such a save leaves; the rest may be the only copy of a file.
#include <optional>
#include <string>
#include <vector>

#include "core/durable_file.h"

// Which set the files in place form, as far as the leftovers prove it.
enum class FilesInPlace {
    EarlierSet,    // that save had placed none of its files (some may have been moved aside)
    EarlierByCopy, // that save may have placed some, but every file in place equals its kept copy
    Mix,           // that save had placed some of its files, each beside its kept copy, and not others
    Unknown,       // the leftovers cannot tell: a mix of two saves, either set, or files changed since
    NoSet,         // the main file is neither in place nor kept: no set is whole
};

struct SaveLeftovers {
    std::vector<std::string> names; // every leftover (paths), in the group's order
    // The leftovers that may hold the only copy of a file's content. While there are any, all the others
    // stay with them: they tell which set the files in place form.
    std::vector<std::string> onlyCopies;
    FilesInPlace inPlace = FilesInPlace::EarlierSet;
    std::vector<std::string> missing; // files of the group (paths) not in place, held by their kept copies
    std::string mark;                 // the main file's temporary file, while it is there (path)
};

SaveLeftovers FindLeftovers(const std::vector<std::string>& paths, FileSystem& fs = SystemFileSystem());

// Removes the leftovers when none of them can be the only copy of anything (onlyCopies empty), the last
// file's first; the first that could not be removed, which stays with those of the files before it and the
// main file's temporary file, to show the next Open or Save that they are still the unfinished part of a
// save.
std::optional<SaveFailure> RemoveUnfinishedSave(const SaveLeftovers& leftovers,
                                                FileSystem& fs = SystemFileSystem());
