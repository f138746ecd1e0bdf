#include "res/CommandTable.h"

#include "res/ResourceIds.h"

std::string CommandLabel(std::string_view menuText) {
    std::string text(menuText.substr(0, menuText.find('\t')));
    const std::size_t key = text.find("(&");
    if (key != std::string::npos && key + 3 < text.size() && text[key + 3] == ')')
        text.erase(key, 4);
    else if (const std::size_t amp = text.find('&'); amp != std::string::npos)
        text.erase(amp, 1);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

const std::vector<CommandInfo>& CommandTable() {
    using namespace ids;
    static const std::vector<CommandInfo> table = {
        {ID_FILE_NEW, MenuId::File, TextId::CmdFileNew, "Ctrl+N", TextId::TipFileNew},
        {ID_FILE_OPEN, MenuId::File, TextId::CmdFileOpen, "Ctrl+O", TextId::TipFileOpen},
        {ID_FILE_SAVE, MenuId::File, TextId::CmdFileSave, "Ctrl+S", TextId::TipFileSave},
        {ID_FILE_SAVE_AS, MenuId::File, TextId::CmdFileSaveAs, "", TextId::TipFileSaveAs},
        {ID_EXPORT_CSV, MenuId::File, TextId::CmdExportCsv, "", TextId::TipExportCsv},
        {ID_IMPORT_CSV, MenuId::File, TextId::CmdImportCsv, "", TextId::TipImportCsv},
        {ID_COMPARE_FILE, MenuId::File, TextId::CmdCompareFile, "", TextId::TipCompareFile},
        {ID_FILE_PRINT, MenuId::File, TextId::CmdFilePrint, "Ctrl+P", TextId::TipFilePrint},
        {ID_FILE_PRINT_PREVIEW, MenuId::File, TextId::CmdFilePrintPreview, "", TextId::TipFilePrintPreview},
        {ID_FILE_PRINT_SETUP, MenuId::File, TextId::CmdFilePrintSetup, "", TextId::TipFilePrintSetup},
        {ID_APP_EXIT, MenuId::File, TextId::CmdAppExit, "", TextId::TipAppExit},
        {ID_EDIT_UNDO, MenuId::Edit, TextId::CmdEditUndo, "Ctrl+Z", TextId::TipEditUndo},
        {ID_EDIT_REDO, MenuId::Edit, TextId::CmdEditRedo, "Ctrl+Y; Ctrl+Shift+Z", TextId::TipEditRedo},
        {ID_EDIT_CUT, MenuId::Edit, TextId::CmdEditCut, "Ctrl+X; Shift+Del", TextId::TipEditCut},
        {ID_EDIT_COPY, MenuId::Edit, TextId::CmdEditCopy, "Ctrl+Ins", TextId::TipEditCopy},
        {ID_EDIT_PASTE, MenuId::Edit, TextId::CmdEditPaste, "Ctrl+V; Shift+Ins", TextId::TipEditPaste},
        {ID_EDIT_CLEAR, MenuId::Edit, TextId::CmdEditClear, "Ctrl+Del", TextId::TipEditClear},
        {ID_CHANNEL_INSERT, MenuId::Edit, TextId::CmdChannelInsert, "", TextId::TipChannelInsert},
        {ID_CHANNEL_DELETE, MenuId::Edit, TextId::CmdChannelDelete, "", TextId::TipChannelDelete},
        {ID_CHANNEL_UP, MenuId::Edit, TextId::CmdChannelUp, "Ctrl+Shift+Up", TextId::TipChannelUp},
        {ID_CHANNEL_DOWN, MenuId::Edit, TextId::CmdChannelDown, "Ctrl+Shift+Down", TextId::TipChannelDown},
        {ID_SET_FIELD, MenuId::Edit, TextId::CmdSetField, "", TextId::TipSetField},
        {ID_READ, MenuId::Program, TextId::CmdRead, "Ctrl+R", TextId::TipRead},
        {ID_WRITE, MenuId::Program, TextId::CmdWrite, "Ctrl+W", TextId::TipWrite},
        {ID_TUNING, MenuId::Program, TextId::CmdTuning, "Ctrl+T", TextId::TipTuning},
        {ID_EDIT_CHANNELS, MenuId::Program, TextId::CmdEditChannels, "Ctrl+G", TextId::TipEditChannels},
        {ID_OPTIONS, MenuId::Program, TextId::CmdOptions, "", TextId::TipOptions},
        {ID_COMPARE_RADIO, MenuId::Program, TextId::CmdCompareRadio, "", TextId::TipCompareRadio},
        {ID_PORT_COM1, MenuId::Port, TextId::CmdPortCom1, "Ctrl+C", TextId::TipPortCom1},
        {ID_PORT_COM2, MenuId::Port, TextId::CmdPortCom2, "Ctrl+D", TextId::TipPortCom2},
        {ID_PORT_COM3, MenuId::Port, TextId::CmdPortCom3, "Ctrl+E", TextId::TipPortCom3},
        {ID_PORT_COM4, MenuId::Port, TextId::CmdPortCom4, "Ctrl+F", TextId::TipPortCom4},
        {ID_VIEW_TOOLBAR, MenuId::View, TextId::CmdViewToolbar, "", TextId::TipViewToolbar},
        {ID_VIEW_STATUS_BAR, MenuId::View, TextId::CmdViewStatusBar, "", TextId::TipViewStatusBar},
        {ID_NEXT_DIFFERENCE, MenuId::View, TextId::CmdNextDifference, "F8", TextId::TipNextDifference},
        {ID_PREVIOUS_DIFFERENCE, MenuId::View, TextId::CmdPreviousDifference, "Shift+F8",
         TextId::TipPreviousDifference},
        {ID_END_COMPARE, MenuId::View, TextId::CmdEndCompare, "", TextId::TipEndCompare},
        {ID_HISTORY, MenuId::View, TextId::CmdHistory, "", TextId::TipHistory},
        {ID_HELP_FINDER, MenuId::Help, TextId::CmdHelpFinder, "", TextId::TipHelpFinder},
        {ID_APP_ABOUT, MenuId::Help, TextId::CmdAppAbout, "", TextId::TipAppAbout},
        {ID_FILE_PRINT_DIRECT, MenuId::None, std::nullopt, "", TextId::TipFilePrintDirect},
        {ID_HELP, MenuId::None, std::nullopt, "F1", TextId::TipHelp},
        {ID_CONTEXT_HELP, MenuId::None, std::nullopt, "Shift+F1", TextId::TipContextHelp},
    };
    return table;
}

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& c : CommandTable())
        if (c.id == id) return &c;
    return nullptr;
}

TextId MenuTitle(MenuId menu) {
    switch (menu) {
        case MenuId::File: return TextId::MenuFile;
        case MenuId::Edit: return TextId::MenuEdit;
        case MenuId::Program: return TextId::MenuProgram;
        case MenuId::Port: return TextId::MenuPort;
        case MenuId::View: return TextId::MenuView;
        case MenuId::Help: return TextId::MenuHelp;
        case MenuId::None: break;
    }
    return TextId::MenuFile;
}

const std::vector<int>& MenuItems(MenuId menu) {
    using namespace ids;
    // One line a group, as the menus show them.
    // clang-format off
    constexpr int kLine = kMenuSeparator;
    static const std::vector<int> file = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, kLine,
                                          ID_EXPORT_CSV, ID_IMPORT_CSV, kLine,
                                          ID_COMPARE_FILE, kLine,
                                          ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, kLine,
                                          kMenuRecentFiles, kLine, ID_APP_EXIT};
    static const std::vector<int> edit = {ID_EDIT_UNDO, ID_EDIT_REDO, kLine,
                                          ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, kLine,
                                          ID_CHANNEL_INSERT, ID_CHANNEL_DELETE, ID_CHANNEL_UP, ID_CHANNEL_DOWN, kLine,
                                          ID_SET_FIELD};
    static const std::vector<int> program = {ID_READ, ID_COMPARE_RADIO, kLine, ID_WRITE, kLine, ID_TUNING, kLine, ID_EDIT_CHANNELS, kLine,
                                             ID_OPTIONS};
    static const std::vector<int> port = {ID_PORT_COM1, ID_PORT_COM2, ID_PORT_COM3, ID_PORT_COM4};
    static const std::vector<int> view = {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, kLine,
                                          ID_HISTORY, ID_NEXT_DIFFERENCE, ID_PREVIOUS_DIFFERENCE, ID_END_COMPARE, kLine,
                                          kMenuLanguages};
    static const std::vector<int> help = {ID_HELP_FINDER, kLine, ID_APP_ABOUT};
    // clang-format on
    static const std::vector<int> none;
    switch (menu) {
        case MenuId::File: return file;
        case MenuId::Edit: return edit;
        case MenuId::Program: return program;
        case MenuId::Port: return port;
        case MenuId::View: return view;
        case MenuId::Help: return help;
        case MenuId::None: break;
    }
    return none;
}

const std::vector<int>& ToolbarButtons() {
    using namespace ids;
    static const std::vector<int> buttons = {
        ID_FILE_NEW,    ID_FILE_OPEN,     ID_FILE_SAVE,   kMenuSeparator, ID_READ,         ID_WRITE,    ID_TUNING,
        kMenuSeparator, ID_EDIT_CHANNELS, kMenuSeparator, ID_FILE_PRINT,  ID_CONTEXT_HELP, ID_APP_ABOUT};
    return buttons;
}

TextId HelpSection(HelpWindow window) {
    switch (window) {
        case HelpWindow::ReadProgress: return TextId::HelpSectionRead;
        case HelpWindow::WriteProgress: return TextId::HelpSectionWrite;
        case HelpWindow::Options: return TextId::HelpSectionOptions;
        case HelpWindow::Tuning: return TextId::HelpSectionTuning;
        case HelpWindow::History: return TextId::HelpSectionHistory;
        case HelpWindow::PrintPreview: return TextId::HelpSectionPrint;
        case HelpWindow::Main: break;
    }
    return TextId::HelpSectionEditing;
}

TextId CommandHelpSection(int id) {
    using namespace ids;
    switch (id) {
        case ID_READ: return HelpSection(HelpWindow::ReadProgress);
        case ID_WRITE: return HelpSection(HelpWindow::WriteProgress);
        case ID_OPTIONS: return HelpSection(HelpWindow::Options);
        case ID_TUNING: return HelpSection(HelpWindow::Tuning);
        case ID_EDIT_CHANNELS: return HelpSection(HelpWindow::Main);
        case ID_FILE_PRINT:
        case ID_FILE_PRINT_DIRECT:
        case ID_FILE_PRINT_PREVIEW:
        case ID_FILE_PRINT_SETUP: return HelpSection(HelpWindow::PrintPreview);
        case ID_EXPORT_CSV:
        case ID_IMPORT_CSV: return TextId::HelpSectionCsv;
        case ID_COMPARE_FILE:
        case ID_COMPARE_RADIO:
        case ID_NEXT_DIFFERENCE:
        case ID_PREVIOUS_DIFFERENCE:
        case ID_END_COMPARE: return TextId::HelpSectionCompare;
        case ID_HISTORY: return HelpSection(HelpWindow::History);
    }
    const CommandInfo* command = FindCommand(id);
    switch (command ? command->menu : MenuId::None) {
        case MenuId::File: return TextId::HelpSectionFiles;
        case MenuId::Port: return TextId::HelpSectionPort;
        case MenuId::View:
        case MenuId::Help: return TextId::HelpSectionWindow;
        default: return HelpSection(HelpWindow::Main);
    }
}
