#pragma once
// Puts a group save in order from its journal and what its files hold now. Every step looks at the files
// afresh, so a settlement cut off at any step is finished the same way by the next one.
#include <optional>
#include <string>
#include <vector>

#include "core/durable_file.h"
#include "core/save_journal.h"

class Settlement {
  public:
    Settlement(std::vector<JournalEntry> entries, FileSystem& fs) : entries_(std::move(entries)), fs_(fs) {}

    // Finishes the save when every new file is there whole, puts the old set back otherwise; a group with
    // files changed since is left as it is.
    SaveSettlement settle();
    // Undoes a save that failed: the old set back, the save's leftovers and journal removed; a failure also
    // where one of them could not be removed.
    std::optional<SaveFailure> putOldSetBack();
    // Where an undo failed (undoFailed): what the files hold now and how the next settling will go; nothing
    // when the journal is gone (the old set is back, its last flush failed).
    std::optional<SaveFailure::Undo> leftAfter(const SaveFailure& undoFailed);

  private:
    // What a file holds now; nothing when it is missing.
    struct Seen {
        std::optional<Fingerprint> target, temporary, kept;
    };
    void survey();
    bool isOld(size_t i) const { return seen_[i].target == entries_[i].old; }
    bool isNew(size_t i) const { return seen_[i].target == entries_[i].next; }
    bool keptIsOld(size_t i) const { return entries_[i].old && seen_[i].kept == entries_[i].old; }
    std::vector<std::string> changedFiles() const;
    bool canFinish() const;
    bool canPutBack() const;
    SetHolds holds() const;
    // How settle() puts the files in order as they are now.
    CutOffSave plan() const;
    std::optional<SaveFailure> finish();
    std::optional<SaveFailure> putBack();
    // Which of what that save left beside file i a clear-up removes, where it is there.
    struct Goes {
        bool temporary, kept;
    };
    // Once the set is whole: what still holds what that save put there.
    Goes goesFromWholeSet(size_t i) const;
    // A set left as found: what holds the same as its file.
    Goes goesAsFound(size_t i) const;
    std::optional<SaveFailure> clearUp(Goes (Settlement::*goes)(size_t) const, bool journalStays);
    bool keepsOnlyCopies() const;
    bool otherTemporaryLeft() const;
    std::optional<SaveFailure> flushFolders();

    std::vector<JournalEntry> entries_;
    FileSystem& fs_;
    std::vector<Seen> seen_;
    std::optional<SaveFailure> leftover_; // what the last clear-up could not remove
};
