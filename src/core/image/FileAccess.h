#pragma once
// Every file the program reads or writes goes through here.
// Reading: only a regular file is read, and opening never waits (a named pipe
// or a device is refused at once). Writing: the bytes go into a temporary
// file in the target's folder, which is flushed to the disk and then renamed
// over the target, so the target is always either the old file or the new
// one, whole. A symbolic link stays a link (the file it points to is
// replaced) and the target keeps its permissions.
// Failures carry the user's message: the first line names the file, the
// second says why.
#include <cstddef>
#include <string>
#include <string_view>

// The reason, in the user's words, for the system error `errnoValue`; the
// other reasons are the texts FileNotRegular, FileIsFolder, FileTooLarge and
// FileEmpty of the table.
std::string FileErrorReason(int errnoValue);
// "无法打开文件“path”。" and "无法保存文件“path”。", each with the reason on a
// second line.
std::string OpenFailureText(const std::string& path, const std::string& reason);
std::string SaveFailureText(const std::string& path, const std::string& reason);

struct FileRead {
    bool ok = false;
    std::string bytes;
    std::string error;  // the user's message when !ok
};

// Reads at most `limit` bytes of a regular file; a longer file is cut at
// `limit` unless `refuseLonger` is set, then it is refused as too large.
FileRead ReadRegularFile(const std::string& path, std::size_t limit, bool refuseLonger);

// Whether `path` can take a save, as far as can be told before writing: its
// folder exists and may be written, and it is no folder, device or pipe, nor
// a file the user may not write. False with the user's message in `error`.
bool CheckSavePlace(const std::string& path, std::string* error);

// The PID in the name of a save's temporary file (".ostreltz-<pid>-<12 hex
// digits>.tmp"), 0 for any other name. A save first removes such files of
// processes that no longer run.
int TemporaryFileOwner(std::string_view name);

// Replaces `path` with `bytes` whole or not at all; false with the user's
// message in `error` when it could not.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string* error);

// What tells whether a file changed on disk: its size and modification time.
struct FileStamp {
    bool exists = false;
    long long size = 0;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);
