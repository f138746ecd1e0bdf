#include "link/PortClaim.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "link/PortLock.h"

namespace {

bool ProcessRuns(int pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

OpenError FromErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV: return OpenError::NotFound;
        case EACCES:
        case EPERM: return OpenError::PermissionDenied;
        case EBUSY: return OpenError::InUse;
        default: return OpenError::Other;
    }
}

// The content of a lock file, at most a few bytes; nothing when it cannot be read.
std::string ReadLockFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    char buffer[128];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    ::close(fd);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// The lock folders that exist, each once (/var/lock is often /run/lock).
std::vector<std::string> LockFolders() {
    std::vector<std::string> folders, real;
    for (const char* folder : kLockFolders) {
        char resolved[PATH_MAX];
        if (!::realpath(folder, resolved)) continue;
        bool seen = false;
        for (const std::string& r : real) seen = seen || r == resolved;
        if (seen) continue;
        real.push_back(resolved);
        folders.push_back(folder);
    }
    return folders;
}

std::string ProcLocks() {
    std::ifstream in("/proc/locks");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

OpenError PortClaim::Take(const std::string& device) {
    Release();
    m_holder = 0;
    if (device.empty()) return OpenError::NotSerial;
    struct stat st {};
    if (::stat(device.c_str(), &st) != 0) return FromErrno(errno);
    if (!S_ISCHR(st.st_mode)) return OpenError::NotSerial;
    // The device first: once no one else holds it, a lock naming this very
    // process is a leftover (a PID used again) and may go too.
    OpenError error = HoldDevice(device);
    if (error == OpenError::None) error = ClearLockFiles(device);
    if (error != OpenError::None) Release();
    return error;
}

OpenError PortClaim::ClearLockFiles(const std::string& device) {
    for (const std::string& folder : LockFolders()) {
        const std::string path = folder + "/" + LockFileName(device);
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) continue;
        const int pid = LockFilePid(ReadLockFile(path));
        if (JudgeLock(pid, ::getpid(), pid > 0 && ProcessRuns(pid)) == LockState::Held) {
            m_holder = pid;
            return OpenError::InUse;
        }
        // A stale lock is taken over; one that cannot be removed still blocks.
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) return OpenError::InUse;
    }
    return OpenError::None;
}

OpenError PortClaim::HoldDevice(const std::string& device) {
    m_fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) return FromErrno(errno);
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) return OpenError::NotSerial;
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) return OpenError::Other;
        struct stat st {};
        if (::fstat(m_fd, &st) == 0) m_holder = FlockHolder(ProcLocks(), major(st.st_dev), minor(st.st_dev), st.st_ino);
        return OpenError::InUse;
    }
    // Opened by another program for itself alone: only privileges got us here.
    int exclusive = 0;
    if (::ioctl(m_fd, TIOCGEXCL, &exclusive) == 0 && exclusive) return OpenError::InUse;
    return OpenError::None;
}

void PortClaim::Release() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}
