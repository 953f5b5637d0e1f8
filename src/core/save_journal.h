#pragma once
// What a group save leaves beside its files, and the journal that describes them: each file's temporary
// file (its new content), its kept copy (its old content) and, for the whole group, a journal beside the
// first file that records what every old and new file holds, so that a save cut off half way can be
// told apart from files changed since.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a file holds, in short: its size and a 64-bit FNV-1a sum of its bytes.
struct Fingerprint {
    std::uint64_t size = 0;
    std::uint64_t sum = 0;
    bool operator==(const Fingerprint&) const = default;
};
Fingerprint FingerprintOf(std::string_view bytes);

// One file of a group save.
struct JournalEntry {
    std::string path;
    std::optional<Fingerprint> old; // nothing when no file of that name was there before the save
    Fingerprint next;
};

std::string TemporaryName(const std::string& target);
std::string KeptCopyName(const std::string& target);
std::string JournalName(const std::string& firstPath);
std::string LeafOf(const std::string& path);
std::string FolderOf(const std::string& path);

// One CR LF line per file in the group's order: "old" or "new" (whether a file of that name was kept),
// the old size and sum (0 for a new file), the new size and sum (sums in 16 hex digits), the file name.
std::string JournalText(const std::vector<JournalEntry>& entries);
// The entries for the group of paths; nothing when the text does not list exactly this group.
std::optional<std::vector<JournalEntry>> ReadJournal(std::string_view text,
                                                     const std::vector<std::string>& paths);
