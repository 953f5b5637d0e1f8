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
    bool temporaries = false, replaced = false;
    // A save writes its temporary files and places them main file first (and this one removes them last
    // file first): while the main file is in place beside its own temporary file, that save had placed
    // none of its files, and a temporary file whose file is missing (with no kept copy) is one it was
    // adding.
    const bool nonePlaced = inPlace(paths.front()) && fs.exists(TemporaryName(paths.front()));
    for (const std::string& path : paths) {
        const std::string kept = KeptCopyName(path), temporary = TemporaryName(path);
        // A copy is written under a temporary name and renamed whole to the kept name.
        const std::string copying = TemporaryName(kept);
        const bool present = inPlace(path), hasKept = fs.exists(kept), hasTemporary = fs.exists(temporary),
                   hasCopying = fs.exists(copying);
        const bool keptSame = hasKept && present && sameBytes(path, kept);
        for (const auto& [name, there, onlyCopy] :
             {std::tuple{kept, hasKept, !keptSame},
              std::tuple{temporary, hasTemporary, !present && (hasKept || !nonePlaced)},
              std::tuple{copying, hasCopying, !present}}) {
            if (there) found.names.push_back(name);
            if (there && onlyCopy) found.onlyCopies.push_back(name);
        }
        if (!present && hasKept) found.missing.push_back(path);
        temporaries |= hasTemporary;
        // That save put its own file in this one's place: the kept copy differs, and no temporary is left.
        replaced |= present && hasKept && !keptSame && !hasTemporary;
    }
    // A journal cut off while it was written: no file of the group had been touched.
    if (const std::string journal = TemporaryName(JournalName(paths.front())); fs.exists(journal))
        found.names.push_back(journal);
    found.inPlace = !temporaries ? FilesInPlace::NewerSet
                    : replaced   ? FilesInPlace::Mix
                                 : FilesInPlace::EarlierSet;
    return found;
}

std::optional<SaveFailure> RemoveUnfinishedSave(const SaveLeftovers& leftovers, FileSystem& fs) {
    if (!leftovers.onlyCopies.empty()) return std::nullopt;
    std::optional<SaveFailure> refused;
    // Last first, so that the main file's temporary file goes last (see FindLeftovers).
    for (auto name = leftovers.names.rbegin(); name != leftovers.names.rend(); ++name)
        if (!fs.remove(*name) && !refused) refused = SaveFailure{*name, std::strerror(errno)};
    if (leftovers.names.empty()) return refused;
    // Gone for good before the next save writes beside them.
    if (!fs.syncFolder(FolderOf(leftovers.names.front())) && !refused)
        refused = SaveFailure{FolderOf(leftovers.names.front()), std::strerror(errno)};
    return refused;
}
