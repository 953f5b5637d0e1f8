#pragma once
// Saving files so that a power cut leaves either the old content or the new one, never an empty or
// partial file: each file goes into a temporary file beside it, is flushed to the disk, renamed over its
// target, and the folder itself is flushed. A group of files (a project set) is placed whole or not at all:
// a journal beside its first file records what every old and new file of the group holds while its files
// are being renamed into place, so that a save cut off half way (the program killed, the power lost) is
// settled the next time the group is opened or saved, and files changed since are never overwritten.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The file-system calls a save makes. Each failing call leaves errno set. Tests derive from it to count
// the flushes or to make one step fail.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Creates path as a new, empty file with the permissions a new file gets (or those of keepModeOf when
    // that exists); an open descriptor, or -1.
    virtual int create(const std::string& path, const std::string& keepModeOf);
    virtual bool writeAll(int fd, std::string_view bytes);
    virtual bool syncFile(int fd);
    virtual bool closeFile(int fd);
    virtual bool rename(const std::string& from, const std::string& to);
    // A second name for an existing file (false where the file system has no such links).
    virtual bool link(const std::string& from, const std::string& to);
    virtual bool syncFolder(const std::string& folder);
    virtual bool exists(const std::string& path);
    virtual bool isFolder(const std::string& path);
    virtual bool remove(const std::string& path);
};

// The machine's own file system.
FileSystem& SystemFileSystem();

// How a save of a group that had been cut off was, or will be, settled.
enum class CutOffSave {
    None,           // no save of the group was cut off
    OldSetBack,     // every file is as it was before that save
    NewSetFinished, // every file is as that save wrote it
    NewSetWhole,    // every file was already as that save wrote it: only what it left beside them went
    LeftAsFound,    // files were changed since: none was touched, only copies the same as their files removed
};

// What the files of a group hold.
enum class SetHolds { OldSet, NewSet, Mix };

// Which file could not be saved, and why.
struct SaveFailure {
    SaveFailure(std::string path, std::string reason) : path(std::move(path)), reason(std::move(reason)) {}
    std::string path;
    std::string reason;
    // A group save that failed and could not put the old set back either: the step of that undo that
    // failed, what the files hold now, and how the next settling of the group will put them in order (its
    // journal stays).
    struct Undo {
        std::string path;
        std::string reason;
        SetHolds holds = SetHolds::OldSet;
        CutOffSave next = CutOffSave::OldSetBack;
    };
    std::optional<Undo> undo;
    // Every new file of a group is in place and on the disk: only its journal (path) or a kept copy of an
    // old file (path, keptCopyLeft) could not be removed; the journal stays, and the next settling of the
    // group removes both.
    bool saved = false;
    bool keptCopyLeft = false;
};

using FileContents = std::vector<std::pair<std::string, std::string>>; // (path, bytes)

// Writes every file durably. Nothing is replaced until every new file is written and flushed; each old
// file keeps a second name (a link, or a copy where the file system has no links) until all new ones are
// in place, and the old files are put back, all of them, when any step fails. A group is not saved while
// FindLeftovers finds beside it what may be the only copy of a file; what a save that was never completed
// left goes first. A single file is saved as SaveFileDurably saves it.
std::optional<SaveFailure> SaveFilesDurably(const FileContents& files, FileSystem& fs = SystemFileSystem());

struct SaveSettlement {
    CutOffSave outcome = CutOffSave::None;
    std::vector<std::string> changed;    // LeftAsFound: the files (names) that are as neither save left them
    std::vector<std::string> keptCopies; // LeftAsFound: kept copies left as the only copy of an old file
    std::optional<SaveFailure> failure;  // the journal stays, and the files may be mixed, until it is settled
    // What that save left beside the files that could not be removed: the files are as outcome says, and
    // the journal stays so that the next settling removes it.
    std::optional<SaveFailure> leftover;
    // LeftAsFound: temporary files left as the only copy of a new file.
    std::vector<std::string> newCopies = {};
    // LeftAsFound: temporary files and kept copies changed since (named in changed too), each the only copy
    // of that change.
    std::vector<std::string> changedCopies = {};
    // LeftAsFound: the journal stays with what may be the only copy of a file (changed files named in
    // changed too), so that every settling names it again until it is gone.
    bool journalStays = false;
};

// Settles a save of the group of paths (in the order it was saved) that was cut off after its journal was
// written: it finishes it when every new file is there whole, and puts every old file back otherwise, but
// only when every file is still as that save or the one before it left it. The group save does this itself
// before it starts; a caller runs it first to tell the user. Each step can itself be cut off and repeated.
SaveSettlement SettleCutOffSave(const std::vector<std::string>& paths, FileSystem& fs = SystemFileSystem());

// Removes a file a save left; why it stays, where it does (one already gone counts as removed).
std::optional<SaveFailure> RemoveLeftover(const std::string& path, FileSystem& fs = SystemFileSystem());

// Whether a file can be saved at path (a temporary file beside it is made and removed again), so that a
// long preparation can be skipped when it cannot.
std::optional<SaveFailure> CheckSavable(const std::string& path, FileSystem& fs = SystemFileSystem());

// One file, replaced whole by a single rename: its old content is neither read nor kept, whatever its
// size, and stays untouched when any step fails.
std::optional<SaveFailure> SaveFileDurably(const std::string& path, const std::string& bytes,
                                           FileSystem& fs = SystemFileSystem());
