// The program's commands for the page's menu bar and toolbar: the same table
// the desktop builds its menus from, with each command named as the page's
// handlers are.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "TypeExport.h"
#include "res/CommandTable.h"
#include "res/ResourceIds.h"

using emscripten::val;

namespace {

using namespace ids;

struct CommandName {
    int id;
    const char* name;
};

constexpr CommandName kNames[] = {
    {ID_FILE_NEW, "new"},
    {ID_FILE_OPEN, "open"},
    {ID_FILE_SAVE, "save"},
    {ID_FILE_SAVE_AS, "saveAs"},
    {ID_EXPORT_CSV, "exportCsv"},
    {ID_IMPORT_CSV, "importCsv"},
    {ID_FILE_PRINT, "print"},
    {ID_FILE_PRINT_PREVIEW, "printPreview"},
    {ID_FILE_PRINT_SETUP, "printSetup"},
    {ID_APP_EXIT, "exit"},
    {ID_EDIT_UNDO, "undo"},
    {ID_EDIT_REDO, "redo"},
    {ID_EDIT_CUT, "cut"},
    {ID_EDIT_COPY, "copy"},
    {ID_EDIT_PASTE, "paste"},
    {ID_EDIT_CLEAR, "clearChannels"},
    {ID_CHANNEL_INSERT, "insertChannel"},
    {ID_CHANNEL_DELETE, "deleteChannel"},
    {ID_CHANNEL_UP, "channelUp"},
    {ID_CHANNEL_DOWN, "channelDown"},
    {ID_SET_FIELD, "setField"},
    {ID_READ, "read"},
    {ID_WRITE, "write"},
    {ID_TUNING, "tuning"},
    {ID_EDIT_CHANNELS, "editChannels"},
    {ID_OPTIONS, "options"},
    {ID_PORT_COM1, "port1"},
    {ID_PORT_COM2, "port2"},
    {ID_PORT_COM3, "port3"},
    {ID_PORT_COM4, "port4"},
    {ID_VIEW_TOOLBAR, "toolbar"},
    {ID_VIEW_STATUS_BAR, "statusBar"},
    {ID_HELP_FINDER, "help"},
    {ID_APP_ABOUT, "about"},
    {ID_FILE_PRINT_DIRECT, "printDirect"},
    {ID_HELP, "helpKey"},
    {ID_CONTEXT_HELP, "contextHelp"},
    {ID_COMPARE_FILE, "compareFile"},
    {ID_COMPARE_RADIO, "compareRadio"},
    {ID_NEXT_DIFFERENCE, "nextDifference"},
    {ID_PREVIOUS_DIFFERENCE, "previousDifference"},
    {ID_END_COMPARE, "endCompare"},
    {ID_HISTORY, "history"},
};

std::string NameOf(int id) {
    switch (id) {
        case kMenuSeparator: return "-";
        case kMenuRecentFiles: return "recent";
        case kMenuLanguages: return "languages";
        default: break;
    }
    for (const CommandName& c : kNames)
        if (c.id == id) return c.name;
    return std::to_string(id);
}

std::string TextName(TextId id) { return AllTexts()[static_cast<std::size_t>(id)].name; }

val Names(const std::vector<int>& ids) {
    val out = val::array();
    for (int id : ids) out.call<void>("push", NameOf(id));
    return out;
}

// { commands: { name: { id, text, shortcut, prompt } }, menus: [{ title, items }], toolbar: [name] },
// texts by their names in the text table; "-" for a line between groups.
val CommandTableValue() {
    val commands = val::object();
    for (const CommandInfo& c : CommandTable()) {
        val command = val::object();
        command.set("id", c.id);
        command.set("text", c.text ? TextName(*c.text) : std::string());
        command.set("shortcut", std::string(c.shortcut));
        command.set("prompt", TextName(c.prompt));
        commands.set(NameOf(c.id), command);
    }
    val menus = val::array();
    for (MenuId menu : {MenuId::File, MenuId::Edit, MenuId::Program, MenuId::Port, MenuId::View, MenuId::Help}) {
        val m = val::object();
        m.set("title", TextName(MenuTitle(menu)));
        m.set("items", Names(MenuItems(menu)));
        menus.call<void>("push", m);
    }
    val out = val::object();
    out.set("commands", commands);
    out.set("menus", menus);
    out.set("toolbar", Names(ToolbarButtons()));
    return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_commands) {
    emscripten::function("commandTable", &CommandTableValue);
    emscripten::function("commandLabel",
                         emscripten::optional_override([](const std::string& text) { return CommandLabel(text); }));
    ExportedEnum<HelpWindow>("HelpWindow")
        .value("Main", HelpWindow::Main)
        .value("ReadProgress", HelpWindow::ReadProgress)
        .value("WriteProgress", HelpWindow::WriteProgress)
        .value("Options", HelpWindow::Options)
        .value("Tuning", HelpWindow::Tuning)
        .value("History", HelpWindow::History)
        .value("PrintPreview", HelpWindow::PrintPreview);
    // The heading of the guide's section about a window, in the language spoken.
    emscripten::function("helpSection", emscripten::optional_override([](int window) {
                             return std::string(Tr(HelpSection(static_cast<HelpWindow>(window))));
                         }));
    // The heading of the guide's section about a command, in the language spoken.
    emscripten::function("commandHelpSection",
                         emscripten::optional_override([](int id) { return std::string(Tr(CommandHelpSection(id))); }));
}
