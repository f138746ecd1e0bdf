#pragma once
// Every file the program reads or writes goes through here.
// Reading: only a regular file is read, and opening never waits (a named pipe
// or a device is refused at once). Writing: the bytes go into a temporary
// file in the target's folder, which is flushed to the disk and then renamed
// over the target, so the target is always either the old file or the new
// one, whole. A symbolic link stays a link (the file it points to is
// replaced) and the target keeps its permissions.
// A failure's first line names the file, the second says why.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "res/Failure.h"

// The reason for the system error `errnoValue`; the other reasons are the
// texts FileNotRegular, FileIsFolder, FileTooLarge and FileEmpty of the table.
Clause FileErrorReason(int errnoValue);
// "无法打开文件“path”。" and "无法保存文件“path”。", each with the reason under it.
Failure OpenFailure(const std::string& path, Clause reason);
Failure SaveFailure(const std::string& path, Clause reason);

struct FileRead {
    bool ok = false;
    std::string bytes;
    Failure error;  // when !ok
};

// Reads at most `limit` bytes of a regular file; a longer file is cut at
// `limit` unless `refuseLonger` is set, then it is refused as too large.
FileRead ReadRegularFile(const std::string& path, std::size_t limit, bool refuseLonger);

// Whether `path` can take a save, as far as can be told before writing: its
// folder exists and may be written, and it is no folder, device or pipe, nor
// a file the user may not write. The failure when it cannot.
std::optional<Failure> CheckSavePlace(const std::string& path);

// The PID in the name of a save's temporary file (".ostreltz-<pid>-<12 hex
// digits>.tmp"), 0 for any other name. A save first removes such files of
// processes that no longer run.
int TemporaryFileOwner(std::string_view name);

// The part of `path` nearest the top that does not exist yet, or `path`
// itself when its folder exists: where making it, with the folders it
// needs, would begin.
std::string FirstMissingPart(const std::string& path);

// Holds the lock of folder `folder` for as long as it lives: another
// process taking the same lock waits. Runs of the programs that add to the
// same files (a write log, the history) take turns with it, so that none
// replaces a file with a copy that misses another's addition. Where the
// folder cannot be locked, nothing waits.
class FolderLock {
public:
    explicit FolderLock(const std::string& folder);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

// Whether `a` and `b` name one file (the same path, a link to it, another
// spelling); false when either does not exist.
bool SameFile(const std::string& a, const std::string& b);

// Replaces `path` with `bytes` whole or not at all; the failure when it could not.
std::optional<Failure> WriteFileAtomically(const std::string& path, std::string_view bytes);

// What tells whether a file changed on disk: its size and modification time.
struct FileStamp {
    bool exists = false;
    long long size = 0;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);
