#include "link/PortLock.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>

std::string LockFileName(const std::string& device) {
    std::string name;
    if (device.rfind("/dev/", 0) == 0)
        name = device.substr(5);
    else
        name = device.substr(device.find_last_of('/') == std::string::npos ? 0 : device.find_last_of('/') + 1);
    for (char& c : name)
        if (c == '/') c = '_';
    return "LCK.." + name;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\0'; }

// "  1234\n" and "1234\nprogram\nhost\n": blanks, digits, then a blank or the end.
int TextPid(std::string_view content) {
    std::size_t i = 0;
    while (i < content.size() && (content[i] == ' ' || content[i] == '\t')) ++i;
    long long pid = 0;
    const std::size_t first = i;
    for (; i < content.size() && content[i] >= '0' && content[i] <= '9'; ++i) {
        pid = pid * 10 + (content[i] - '0');
        if (pid > 0x7FFFFFFF) return 0;
    }
    if (i == first || (i < content.size() && !IsBlank(content[i]))) return 0;
    return static_cast<int>(pid);
}

}  // namespace

int LockFilePid(std::string_view content) {
    // Four bytes holding a possible process number are the binary form, even
    // when they happen to read as digits ("76\0\0" is process 13879). A short
    // text lock such as "123\n" read as binary is far above any process number.
    constexpr std::int32_t kHighestPid = 1 << 22;
    if (content.size() == sizeof(std::int32_t)) {
        std::int32_t pid = 0;
        std::memcpy(&pid, content.data(), sizeof pid);
        if (pid > 0 && pid <= kHighestPid) return pid;
    }
    return TextPid(content);
}

LockState JudgeLock(int pid, int ourPid, bool running) {
    if (pid <= 0 || !running) return LockState::Stale;
    return pid == ourPid ? LockState::Ours : LockState::Held;
}

int FlockHolder(std::string_view procLocks, unsigned major, unsigned minor, unsigned long long inode) {
    // "1: FLOCK  ADVISORY  WRITE 1234 00:19:6 0 EOF"; blocked waiters ("->") hold nothing.
    std::istringstream lines{std::string(procLocks)};
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string number, kind, mode, access, where;
        long long pid = 0;
        if (!(words >> number >> kind)) continue;
        if (kind == "->" || kind != "FLOCK") continue;
        if (!(words >> mode >> access >> pid >> where)) continue;
        unsigned maj = 0, min = 0;
        unsigned long long ino = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%llu", &maj, &min, &ino) != 3) continue;
        if (maj == major && min == minor && ino == inode && pid > 0) return static_cast<int>(pid);
    }
    return 0;
}
