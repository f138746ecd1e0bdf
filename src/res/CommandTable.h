#pragma once
// The program's commands: menu, menu text, accelerator and prompt. The prompt
// is the status-bar text, then "\n" and the toolbar tooltip.
#include <vector>

enum class MenuId { File, Edit, Program, Port, View, Help, None };

struct CommandInfo {
    int id;
    MenuId menu;
    const char* text;      // with "\t" and the accelerator as shown
    const char* shortcut;  // key sequences parted by "; ", or ""
    const char* prompt;
};

const std::vector<CommandInfo>& CommandTable();
const CommandInfo* FindCommand(int id);

const char* MenuTitle(MenuId menu);
