#pragma once
// The command line's command for `args`, in Chinese whatever this machine's
// locale. (Built up step by step: gcc 12 warns wrongly about a literal added
// to a temporary string.)
#include <string>

inline std::string CliCommand(const std::string& args) {
    std::string command = OSTRELTZ_CLI;
    command += " --lang zh ";
    command += args;
    return command;
}
