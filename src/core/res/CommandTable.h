#pragma once
// The program's commands: menu, menu text, accelerator and prompt. The prompt
// is the status-bar text, then "\n" and the toolbar tooltip.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "res/Texts.h"

enum class MenuId { File, Edit, Program, Port, View, Help, None };

struct CommandInfo {
    int id;
    MenuId menu;
    std::optional<TextId> text;  // with "\t" and the accelerator as shown; none off the menus
    const char* shortcut;        // key sequences parted by "; ", or ""
    TextId prompt;
};

const std::vector<CommandInfo>& CommandTable();

// A menu text as a button or a caption shows it: no access key, no shortcut
// ("结束比较(&E)" → "结束比较", "&End comparison\tF8" → "End comparison").
std::string CommandLabel(std::string_view menuText);
const CommandInfo* FindCommand(int id);

TextId MenuTitle(MenuId menu);

// What a menu lists, in order. Besides command ids: a line between groups,
// the recently used files, and the language submenu.
constexpr int kMenuSeparator = 0;
constexpr int kMenuRecentFiles = -1;
constexpr int kMenuLanguages = -2;
const std::vector<int>& MenuItems(MenuId menu);

// The toolbar's buttons, in order, kMenuSeparator between groups.
const std::vector<int>& ToolbarButtons();

// The windows F1 gives help on, and the heading of the guide's section about
// each (the main window's is the one on editing channels).
enum class HelpWindow { Main, ReadProgress, WriteProgress, Options, Tuning, History, PrintPreview };
TextId HelpSection(HelpWindow window);
// The heading of the guide's section about command `id`, for pointer help
// (Shift+F1, then a click on the command's button).
TextId CommandHelpSection(int id);
