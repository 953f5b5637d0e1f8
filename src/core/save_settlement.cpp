#include "core/save_settlement.h"

#include <cerrno>
#include <cstring>
#include <set>

#include "core/file_read.h"

namespace {

// A file that is there but cannot be read holds something no journal records.
constexpr Fingerprint Unreadable{~std::uint64_t{0}, 0};

std::optional<Fingerprint> look(FileSystem& fs, const std::string& path) {
    if (!fs.exists(path)) return std::nullopt;
    const std::optional<std::string> bytes = ReadUserFile(path);
    return bytes ? FingerprintOf(*bytes) : Unreadable;
}

SaveFailure failure(const std::string& path) {
    return {path, std::strerror(errno)};
}

} // namespace

void Settlement::survey() {
    seen_.clear();
    for (const JournalEntry& e : entries_)
        seen_.push_back({look(fs_, e.path), look(fs_, TemporaryName(e.path)),
                         e.old ? look(fs_, KeptCopyName(e.path)) : std::nullopt});
}

// Every file the save may have touched that holds neither what it held before nor what the save wrote.
std::vector<std::string> Settlement::changedFiles() const {
    std::vector<std::string> changed;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& path = entries_[i].path;
        if (!isOld(i) && !isNew(i)) changed.push_back(LeafOf(path));
        if (seen_[i].temporary && seen_[i].temporary != entries_[i].next)
            changed.push_back(LeafOf(TemporaryName(path)));
        // A kept link changes with its file when that is written in place.
        const auto& kept = seen_[i].kept;
        if (kept && kept != entries_[i].old && kept != seen_[i].target)
            changed.push_back(LeafOf(KeptCopyName(path)));
    }
    return changed;
}

bool Settlement::canFinish() const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (!isNew(i) && seen_[i].temporary != entries_[i].next) return false;
    return true;
}

// A file that did not exist before the save can always be removed again.
bool Settlement::canPutBack() const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (!isOld(i) && entries_[i].old && !keptIsOld(i)) return false;
    return true;
}

std::optional<SaveFailure> Settlement::finish() {
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& target = entries_[i].path;
        if (seen_[i].temporary && !fs_.rename(TemporaryName(target), target)) return failure(target);
    }
    return clearUp(true);
}

std::optional<SaveFailure> Settlement::putBack() {
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& target = entries_[i].path;
        if (isOld(i)) continue;
        if (!entries_[i].old)
            fs_.remove(target);
        else if (!fs_.rename(KeptCopyName(target), target))
            return failure(target);
    }
    return clearUp(true);
}

// Removes what the save left beside its files, then the journal. Only what still holds what the save put
// there goes: a temporary file with its new content, and a kept copy with the old content once the set is
// whole, or, where the files were changed since, only one whose file holds the same.
std::optional<SaveFailure> Settlement::clearUp(bool whole) {
    if (auto failed = flushFolders()) return failed;
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& target = entries_[i].path;
        if (seen_[i].temporary == entries_[i].next) fs_.remove(TemporaryName(target));
        if (seen_[i].kept && seen_[i].kept == (whole ? entries_[i].old : seen_[i].target))
            fs_.remove(KeptCopyName(target));
    }
    const std::string journal = JournalName(entries_.front().path);
    if (!fs_.exists(journal)) return std::nullopt;
    fs_.remove(journal);
    if (fs_.syncFolder(FolderOf(journal))) return std::nullopt;
    return failure(FolderOf(journal));
}

std::optional<SaveFailure> Settlement::flushFolders() {
    std::set<std::string> folders;
    for (const JournalEntry& e : entries_)
        folders.insert(FolderOf(e.path));
    for (const std::string& folder : folders)
        if (!fs_.syncFolder(folder)) return failure(folder);
    return std::nullopt;
}

SaveSettlement Settlement::settle() {
    survey();
    SaveSettlement settled{CutOffSave::LeftAsFound, changedFiles(), {}, {}};
    if (settled.changed.empty() && canFinish()) return {CutOffSave::NewSetFinished, {}, {}, finish()};
    if (settled.changed.empty() && canPutBack()) return {CutOffSave::OldSetBack, {}, {}, putBack()};
    // Neither set can be made whole: someone removed a kept copy the old set needs, and the files stay.
    if (settled.changed.empty())
        for (size_t i = 0; i < entries_.size(); ++i)
            if (!isOld(i) && entries_[i].old && !keptIsOld(i))
                settled.changed.push_back(LeafOf(KeptCopyName(entries_[i].path)));
    settled.failure = clearUp(false);
    survey();
    for (size_t i = 0; i < entries_.size(); ++i)
        if (seen_[i].kept && seen_[i].kept == entries_[i].old)
            settled.keptCopies.push_back(LeafOf(KeptCopyName(entries_[i].path)));
    return settled;
}

std::optional<SaveFailure> Settlement::putOldSetBack() {
    survey();
    return putBack();
}
