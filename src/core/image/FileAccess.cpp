#include "image/FileAccess.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "res/Texts.h"

namespace {

std::string Folder(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends at (the path itself when it is no
// link); a save replaces that file and leaves the links alone.
std::string FollowLinks(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096), '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n <= 0) return path;
        link.resize(static_cast<std::size_t>(n));
        path = link[0] == '/' ? link : Folder(path) + "/" + link;
    }
    return path;
}

// The reason when `st` describes something a file cannot be read from or
// saved over: a folder, a pipe, a device or a socket.
std::optional<Clause> NotAFileReason(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return Clause{TextId::FileIsFolder, {}};
    if (!S_ISREG(st.st_mode)) return Clause{TextId::FileNotRegular, {}};
    return std::nullopt;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Removes the temporary files in `folder` that saves of processes no longer
// running left behind (killed before their rename), and no other file.
void RemoveOrphanedTemporaries(const std::string& folder) {
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    while (const dirent* entry = ::readdir(dir)) {
        const int pid = TemporaryFileOwner(entry->d_name);
        if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// A new file in `folder` under a short name of its own that carries our PID
// (far within the 255-byte limit of a name, whatever the target is called).
int CreateTemporary(const std::string& folder, mode_t mode, std::string& temp) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    RemoveOrphanedTemporaries(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[48];
        std::snprintf(name, sizeof name, ".ostreltz-%d-%012llx.tmp", static_cast<int>(::getpid()),
                      static_cast<unsigned long long>(random() & 0xFFFFFFFFFFFFull));
        temp = folder + "/" + name;
        const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Why no temporary file could be made in `folder`: a save replaces its file
// through a new one there, so the folder's permission is what is missing,
// even for a file that could be written where it is.
Clause TemporaryFailureReason(int errnoValue, const std::string& folder) {
    if (errnoValue == EACCES || errnoValue == EPERM) return {TextId::FolderNoPermission, {folder}};
    return FileErrorReason(errnoValue);
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

int TemporaryFileOwner(std::string_view name) {
    constexpr std::string_view kHead = ".ostreltz-", kTail = ".tmp";
    if (!name.starts_with(kHead) || !name.ends_with(kTail)) return 0;
    name = name.substr(kHead.size(), name.size() - kHead.size() - kTail.size());
    const std::size_t dash = name.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 9 || name.size() - dash - 1 != 12) return 0;
    int pid = 0;
    for (char c : name.substr(0, dash)) {
        if (c < '0' || c > '9') return 0;
        pid = pid * 10 + (c - '0');
    }
    for (char c : name.substr(dash + 1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return 0;
    return pid;
}

Clause FileErrorReason(int errnoValue) {
    switch (errnoValue) {
        case ENOSPC:
        case EDQUOT: return {TextId::FileDiskFull, {}};
        case EROFS: return {TextId::FileReadOnly, {}};
        case EACCES:
        case EPERM: return {TextId::FileNoPermission, {}};
        case ENAMETOOLONG: return {TextId::FileNameTooLong, {}};
        case ENOENT: return {TextId::FileNotFound, {}};
        case ENOTDIR: return {TextId::FilePathNotFolder, {}};
        case EISDIR: return {TextId::FileIsFolder, {}};
        case EFBIG: return {TextId::FileTooLarge, {}};
        default: return {TextId::FileSystemError, {std::to_string(errnoValue), std::strerror(errnoValue)}};
    }
}

Failure OpenFailure(const std::string& path, Clause reason) {
    return Because(Fail(TextId::FileCannotOpen, {path}), std::move(reason));
}

Failure SaveFailure(const std::string& path, Clause reason) {
    return Because(Fail(TextId::FileCannotSave, {path}), std::move(reason));
}

FileRead ReadRegularFile(const std::string& path, std::size_t limit, bool refuseLonger) {
    FileRead result;
    // Without O_NONBLOCK, opening a named pipe waits for a writer for good.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        result.error = OpenFailure(path, FileErrorReason(errno));
        return result;
    }
    struct stat st {};
    std::optional<Clause> refusal = ::fstat(fd, &st) != 0 ? Clause{TextId::FileNotRegular, {}} : NotAFileReason(st);
    if (!refusal && refuseLonger && static_cast<std::uint64_t>(st.st_size) > limit)
        refusal = Clause{TextId::FileTooLarge, {}};
    if (refusal) {
        ::close(fd);
        result.error = OpenFailure(path, *refusal);
        return result;
    }
    const std::size_t wanted = refuseLonger ? limit + 1 : limit;
    result.bytes.resize(std::min<std::size_t>(wanted, static_cast<std::size_t>(st.st_size) + 1));
    std::size_t got = 0;
    while (got < wanted) {
        if (got == result.bytes.size()) result.bytes.resize(std::min(wanted, got * 2 + 4096));
        const ssize_t n = ::read(fd, result.bytes.data() + got, result.bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.error = Because(Fail(TextId::FileReadError, {path}), FileErrorReason(errno));
            ::close(fd);
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    result.bytes.resize(got);
    if (refuseLonger && got > limit) {
        result.bytes.clear();
        result.error = OpenFailure(path, {TextId::FileTooLarge, {}});
        return result;
    }
    result.ok = true;
    return result;
}

namespace {

// What keeps `path` from taking a save, as its folder and the file itself
// show it without writing anything.
std::optional<Failure> TargetRefusal(const std::string& path) {
    auto fail = [&](Clause reason) { return SaveFailure(path, std::move(reason)); };
    const std::string target = FollowLinks(path);
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0) {
        if (const std::optional<Clause> refusal = NotAFileReason(st)) return fail(*refusal);
        // A file the user may not write stays as it is, though the folder
        // would let the rename replace it.
        if (::access(target.c_str(), W_OK) != 0) return fail(FileErrorReason(errno));
    } else if (errno != ENOENT) {
        return fail(FileErrorReason(errno));
    }
    const std::string folder = Folder(target);
    if (::stat(folder.c_str(), &st) != 0) return fail(FileErrorReason(errno));
    if (!S_ISDIR(st.st_mode)) return fail(FileErrorReason(ENOTDIR));
    return std::nullopt;
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

std::optional<Failure> CheckSavePlace(const std::string& path) {
    if (std::optional<Failure> refused = TargetRefusal(path)) return refused;
    // Permission bits don't tell whether a file can be made here: the
    // superuser passes them everywhere, yet /proc and /sys take no new file.
    // A file that is made and taken away again tells.
    std::string probe;
    const std::string folder = Folder(FollowLinks(path));
    const int fd = CreateTemporary(folder, 0600, probe);
    if (fd < 0) return SaveFailure(path, TemporaryFailureReason(errno, folder));
    ::close(fd);
    ::unlink(probe.c_str());
    return std::nullopt;
}

std::optional<Failure> WriteFileAtomically(const std::string& path, std::string_view bytes) {
    auto fail = [&](Clause reason) { return SaveFailure(path, std::move(reason)); };
    // Making the temporary file tells whether the folder takes a new one.
    if (std::optional<Failure> refused = TargetRefusal(path)) return refused;
    const std::string target = FollowLinks(path);
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    const std::string folder = Folder(target);
    std::string temp;
    // A new file gets the usual permissions (the umask applies); an old one
    // passes its own on before any byte is written.
    const int fd = CreateTemporary(folder, exists ? 0600 : 0666, temp);
    if (fd < 0) return fail(TemporaryFailureReason(errno, folder));
    int problem = 0;
    if (exists) {
        // Keeping another owner needs privileges; without them the saver owns it.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) errno = 0;
        if (::fchmod(fd, old.st_mode & 07777) != 0) problem = errno;
    }
    errno = 0;
    if (!problem && !WriteAll(fd, bytes)) problem = errno ? errno : EIO;
    if (!problem && ::fsync(fd) != 0) problem = errno;
    if (::close(fd) != 0 && !problem) problem = errno;
    if (!problem && ::rename(temp.c_str(), target.c_str()) != 0) problem = errno;
    if (problem) {
        ::unlink(temp.c_str());
        return fail(FileErrorReason(problem));
    }
    SyncFolder(folder);
    return std::nullopt;
}

FileStamp StampOf(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return {};
    return {true, static_cast<long long>(st.st_size),
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

std::string FirstMissingPart(const std::string& path) {
    std::filesystem::path part = path;
    std::error_code error;
    while (part.has_relative_path() && part.parent_path() != part.root_path() &&
           !std::filesystem::exists(part.parent_path(), error))
        part = part.parent_path();
    return part.string();
}

FolderLock::FolderLock(const std::string& folder) : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
    }
}

FolderLock::~FolderLock() {
    if (m_fd >= 0) ::close(m_fd);
}
