#pragma once
// Runs a command line through the shell.
#include <sys/wait.h>

#include <cstdio>
#include <string>

// Runs a command line and returns its exit code; output goes to `log`.
inline int RunCommand(const std::string& command, std::string* log = nullptr) {
    std::string full = command + " 2>&1";
    FILE* p = ::popen(full.c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    std::string out;
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    int status = ::pclose(p);
    if (log) *log = out;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
