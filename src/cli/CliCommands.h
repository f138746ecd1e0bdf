#pragma once
// The verbs of ostreltz-cli. Each takes its own arguments (after the verb)
// and returns the process exit code.
#include <string>
#include <vector>

using Args = std::vector<std::string>;

int CmdNew(const Args& args);
int CmdDump(const Args& args);
int CmdRead(const Args& args);
int CmdWrite(const Args& args);
int CmdTune(const Args& args);
int CmdPrint(const Args& args);
int CmdExportCsv(const Args& args);
int CmdImportCsv(const Args& args);
int CmdSet(const Args& args);
int CmdDiff(const Args& args);
int CmdHistory(const Args& args);
