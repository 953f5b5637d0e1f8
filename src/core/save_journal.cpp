#include "core/save_journal.h"

#include <charconv>
#include <cstdio>

Fingerprint FingerprintOf(std::string_view bytes) {
    std::uint64_t sum = 0xcbf29ce484222325u;
    for (const char c : bytes)
        sum = (sum ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
    return {bytes.size(), sum};
}

std::string TemporaryName(const std::string& target) {
    return target + ".tmp~";
}

std::string KeptCopyName(const std::string& target) {
    return target + ".old~";
}

std::string JournalName(const std::string& firstPath) {
    return firstPath + ".saving~";
}

std::string LeafOf(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

namespace {

std::string printText(const Fingerprint& print) {
    char sum[17];
    std::snprintf(sum, sizeof sum, "%016llx", static_cast<unsigned long long>(print.sum));
    return std::to_string(print.size) + " " + sum;
}

// Takes one number (decimal or hex) and the space after it off the front of line.
bool takeNumber(std::string_view& line, std::uint64_t& value, int base) {
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value, base);
    if (error != std::errc() || end == line.data() + line.size() || *end != ' ') return false;
    line.remove_prefix(static_cast<size_t>(end - line.data()) + 1);
    return true;
}

std::optional<JournalEntry> readEntry(std::string_view line, const std::string& path) {
    const std::string_view kind = line.substr(0, 4);
    if (kind != "old " && kind != "new ") return std::nullopt;
    line.remove_prefix(4);
    Fingerprint old, next;
    if (!takeNumber(line, old.size, 10) || !takeNumber(line, old.sum, 16) ||
        !takeNumber(line, next.size, 10) || !takeNumber(line, next.sum, 16) || line != LeafOf(path))
        return std::nullopt;
    JournalEntry entry{path, std::nullopt, next};
    if (kind == "old ") entry.old = old;
    return entry;
}

} // namespace

std::string JournalText(const std::vector<JournalEntry>& entries) {
    std::string text;
    for (const JournalEntry& entry : entries)
        text += (entry.old ? "old " : "new ") + printText(entry.old.value_or(Fingerprint{})) + " " +
                printText(entry.next) + " " + LeafOf(entry.path) + "\r\n";
    return text;
}

std::optional<std::vector<JournalEntry>> ReadJournal(std::string_view text,
                                                     const std::vector<std::string>& paths) {
    std::vector<JournalEntry> entries;
    for (const std::string& path : paths) {
        const size_t end = text.find("\r\n");
        if (end == std::string_view::npos) return std::nullopt;
        auto entry = readEntry(text.substr(0, end), path);
        if (!entry) return std::nullopt;
        entries.push_back(std::move(*entry));
        text.remove_prefix(end + 2);
    }
    if (!text.empty()) return std::nullopt;
    return entries;
}
