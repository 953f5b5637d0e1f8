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

// A file that holds the same before and after the save counts as either.
SetHolds Settlement::holds() const {
    bool someNotNew = false, someNotOld = false;
    for (size_t i = 0; i < entries_.size(); ++i) {
        someNotNew |= !isNew(i);
        someNotOld |= !isOld(i);
    }
    if (someNotNew && someNotOld) return SetHolds::Mix;
    return someNotNew ? SetHolds::OldSet : SetHolds::NewSet;
}

CutOffSave Settlement::plan() const {
    if (!changedFiles().empty()) return CutOffSave::LeftAsFound;
    if (holds() == SetHolds::NewSet) return CutOffSave::NewSetWhole;
    if (canFinish()) return CutOffSave::NewSetFinished;
    // Neither set can be made whole when someone removed a kept copy the old set needs.
    return canPutBack() ? CutOffSave::OldSetBack : CutOffSave::LeftAsFound;
}

std::optional<SaveFailure> Settlement::finish() {
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& target = entries_[i].path;
        if (seen_[i].temporary && !fs_.rename(TemporaryName(target), target)) return failure(target);
    }
    return clearUp(&Settlement::goesFromWholeSet, false);
}

std::optional<SaveFailure> Settlement::putBack() {
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& target = entries_[i].path;
        if (isOld(i)) continue;
        if (!entries_[i].old) {
            // A file the old set did not have that stays would leave a mix.
            if (auto stays = RemoveLeftover(target, fs_)) return stays;
        } else if (!fs_.rename(KeptCopyName(target), target)) {
            return failure(target);
        }
    }
    return clearUp(&Settlement::goesFromWholeSet, false);
}

// A temporary file with its new content, but the main file's only once no other is left (see
// FindLeftovers), and a kept copy with the old one.
Settlement::Goes Settlement::goesFromWholeSet(size_t i) const {
    return {seen_[i].temporary == entries_[i].next && (i > 0 || !otherTemporaryLeft()), keptIsOld(i)};
}

// Only a temporary file or kept copy that holds the same as its file: any other may be the only copy of
// what a file held, or of what that save or the user wrote.
Settlement::Goes Settlement::goesAsFound(size_t i) const {
    return {seen_[i].temporary == seen_[i].target, seen_[i].kept == seen_[i].target};
}

// Removes what the save left beside its files that the rule (goes) lets go, then the journal, unless it
// stays with what is kept (journalStays). What cannot be removed is noted (leftover_) and keeps what tells
// the next settling what it is: the journal, or, without one, the main file's temporary file.
std::optional<SaveFailure> Settlement::clearUp(Goes (Settlement::*goes)(size_t) const, bool journalStays) {
    const std::string journal = JournalName(entries_.front().path);
    // Without a journal no file of the set was renamed (a save undone before it wrote one): nothing needs
    // to be on the disk before the save's own leftovers go.
    const bool journaled = fs_.exists(journal);
    if (journaled)
        if (auto failed = flushFolders()) return failed;
    leftover_.reset();
    // None after one that stays, so that without a journal what is left keeps the shape FindLeftovers
    // reads as the unfinished part of a save.
    const auto remove = [this](const std::string& name) {
        if (!leftover_) leftover_ = RemoveLeftover(name, fs_);
    };
    // Last file first, the main file's temporary file last.
    for (size_t i = entries_.size(); i-- > 0;) {
        const std::string& target = entries_[i].path;
        const Goes go = (this->*goes)(i);
        if (seen_[i].temporary && go.temporary) remove(TemporaryName(target));
        if (seen_[i].kept && go.kept) remove(KeptCopyName(target));
    }
    // The journal stays with what may be the only copy of a file, so that every settling names it again.
    if (!journaled || leftover_ || journalStays) return std::nullopt;
    // A journal that stays would settle the set again at every Open: it is noted like any other.
    if ((leftover_ = RemoveLeftover(journal, fs_))) return std::nullopt;
    if (fs_.syncFolder(FolderOf(journal))) return std::nullopt;
    return failure(FolderOf(journal));
}

// Where the files were changed since: a temporary file or kept copy that differs from its file.
bool Settlement::keepsOnlyCopies() const {
    for (const Seen& seen : seen_)
        if ((seen.temporary && seen.temporary != seen.target) || (seen.kept && seen.kept != seen.target))
            return true;
    return false;
}

bool Settlement::otherTemporaryLeft() const {
    for (size_t i = 1; i < entries_.size(); ++i)
        if (fs_.exists(TemporaryName(entries_[i].path))) return true;
    return false;
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
    const CutOffSave outcome = plan();
    if (outcome == CutOffSave::NewSetFinished || outcome == CutOffSave::NewSetWhole) {
        auto failed = finish();
        return {outcome, {}, {}, failed, leftover_};
    }
    if (outcome == CutOffSave::OldSetBack) {
        auto failed = putBack();
        return {outcome, {}, {}, failed, leftover_};
    }
    SaveSettlement settled{outcome, changedFiles(), {}, {}, {}};
    // Neither set can be made whole: the kept copies the old set needs are named, and the files stay.
    if (settled.changed.empty())
        for (size_t i = 0; i < entries_.size(); ++i)
            if (!isOld(i) && entries_[i].old && !keptIsOld(i))
                settled.changed.push_back(LeafOf(KeptCopyName(entries_[i].path)));
    settled.journalStays = keepsOnlyCopies();
    settled.failure = clearUp(&Settlement::goesAsFound, settled.journalStays);
    settled.leftover = leftover_;
    // What stays: each copy that differs from its file, named by what it holds.
    survey();
    for (size_t i = 0; i < entries_.size(); ++i) {
        const std::string& path = entries_[i].path;
        const Seen& seen = seen_[i];
        if (seen.temporary && seen.temporary != seen.target)
            (seen.temporary == entries_[i].next ? settled.newCopies : settled.changedCopies)
                .push_back(LeafOf(TemporaryName(path)));
        if (seen.kept && seen.kept != seen.target)
            (keptIsOld(i) ? settled.keptCopies : settled.changedCopies).push_back(LeafOf(KeptCopyName(path)));
    }
    return settled;
}

std::optional<SaveFailure> Settlement::putOldSetBack() {
    survey();
    auto failed = putBack();
    return failed ? failed : leftover_;
}

std::optional<SaveFailure::Undo> Settlement::leftAfter(const SaveFailure& undoFailed) {
    if (!fs_.exists(JournalName(entries_.front().path))) return std::nullopt;
    survey();
    return SaveFailure::Undo{undoFailed.path, undoFailed.reason, holds(), plan()};
}
