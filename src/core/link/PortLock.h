#pragma once
// How Linux programs share a serial port through lock files: a file
// "LCK..<device>" in the system lock folder names the process that holds the
// port, its PID written as text ("      1234\n") or as 4 binary bytes. A lock
// of a process that still runs is honoured; one of a process that is gone,
// or one that names none, is stale and may be taken over.
#include <string>
#include <string_view>

// The lock folders a port's lock file may live in, in the order looked at.
inline constexpr const char* kLockFolders[] = {"/var/lock", "/run/lock"};

// "LCK..ttyUSB0" for "/dev/ttyUSB0", "LCK..pts_3" for "/dev/pts/3": the path
// below /dev with every '/' made '_'.
std::string LockFileName(const std::string& device);

// The PID a lock file's content names; 0 when it names none (empty, garbage,
// zero or negative).
int LockFilePid(std::string_view content);

enum class LockState { Stale, Held, Ours };

// What a lock naming `pid` means for the process `ourPid`, given whether the
// process `pid` still runs.
LockState JudgeLock(int pid, int ourPid, bool running);

// The process holding a flock on the file with device number major:minor and
// inode `inode`, read from the text of /proc/locks; 0 when none is listed.
int FlockHolder(std::string_view procLocks, unsigned major, unsigned minor, unsigned long long inode);
