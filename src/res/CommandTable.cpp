#include "res/CommandTable.h"

#include "res/ResourceIds.h"

const std::vector<CommandInfo>& CommandTable() {
    using namespace ids;
    static const std::vector<CommandInfo> table = {
        {ID_FILE_NEW, MenuId::File, "新建(&N)\tCtrl+N", "Ctrl+N", "建立新文档\n新建"},
        {ID_FILE_OPEN, MenuId::File, "打开(&O)...\tCtrl+O", "Ctrl+O", "打开一个现有文档\n打开"},
        {ID_FILE_SAVE, MenuId::File, "保存(&S)\tCtrl+S", "Ctrl+S", "保存活动文档\n保存"},
        {ID_FILE_SAVE_AS, MenuId::File, "另存为(&A)...", "", "将活动文档以一个新文件名保存\n另存为"},
        {ID_EXPORT_CSV, MenuId::File, "导出 CSV…", "", "把频道表导出为 CSV 文件\n导出 CSV"},
        {ID_IMPORT_CSV, MenuId::File, "导入 CSV…", "", "从 CSV 文件读入频道表\n导入 CSV"},
        {ID_FILE_PRINT, MenuId::File, "打印(&P)...\tCtrl+P", "Ctrl+P", "打印活动文档\n打印"},
        {ID_FILE_PRINT_PREVIEW, MenuId::File, "打印预览(&V)", "", "显示整页\n打印预览"},
        {ID_FILE_PRINT_SETUP, MenuId::File, "打印设置(&R)...", "", "改变打印机及打印选项\n打印设置"},
        {ID_APP_EXIT, MenuId::File, "退出(&X)", "", "退出应用程序；提示保存文档\n退出"},
        {ID_READ, MenuId::Program, "读频(&U)\tCtrl+R", "Ctrl+R", "读取对讲机频率\n读频"},
        {ID_WRITE, MenuId::Program, "写频\tCtrl+W", "Ctrl+W", "写频率数据至对讲机\n写频"},
        {ID_TUNING, MenuId::Program, "在线调试(&Y)\tCtrl+T", "Ctrl+T",
         "实时修改对讲机发射功率，静燥等级，电池低压报警\n在线调试"},
        {ID_EDIT_CHANNELS, MenuId::Program, "编辑信道\tCtrl+G", "Ctrl+G", "修改各频道数据\n编辑"},
        {ID_OPTIONS, MenuId::Program, "可选功能", "", "设置整机参数功能"},
        {ID_PORT_COM1, MenuId::Port, "COM1(&P)\tCtrl+C", "Ctrl+C", "选择串口1"},
        {ID_PORT_COM2, MenuId::Port, "COM2(&Q)\tCtrl+D", "Ctrl+D", "选择串口2"},
        {ID_PORT_COM3, MenuId::Port, "COM3(&S)\tCtrl+E", "Ctrl+E", "选择串口3"},
        {ID_PORT_COM4, MenuId::Port, "COM4(&T)\tCtrl+F", "Ctrl+F", "选择串口4"},
        {ID_VIEW_TOOLBAR, MenuId::View, "工具栏(&T)", "", "显示或隐藏工具栏\n显隐工具栏"},
        {ID_VIEW_STATUS_BAR, MenuId::View, "状态栏(&S)", "", "显示或隐藏状态栏\n显隐状态栏"},
        {ID_HELP_FINDER, MenuId::Help, "帮助主题(&H)", "", "列出帮助主题\n帮助主题"},
        {ID_APP_ABOUT, MenuId::Help, "关于 本软件(&A)...", "", "显示程序信息，版本号和版权\n关于"},
        {ID_FILE_PRINT_DIRECT, MenuId::None, "", "", "使用当前选项打印活动文档\n快速打印"},
        {ID_HELP, MenuId::None, "", "F1", "显示对当前任务或命令的帮助\n帮助"},
        {ID_CONTEXT_HELP, MenuId::None, "", "Shift+F1", "显示对按钮、菜单和窗口执行单击操作的帮助\n帮助"},
    };
    return table;
}

const CommandInfo* FindCommand(int id) {
    for (const CommandInfo& c : CommandTable())
        if (c.id == id) return &c;
    return nullptr;
}

const char* MenuTitle(MenuId menu) {
    switch (menu) {
        case MenuId::File: return "文件(&F)";
        case MenuId::Program: return "编程(&E)";
        case MenuId::Port: return "端口设置";
        case MenuId::View: return "查看(&V)";
        case MenuId::Help: return "帮助(&H)";
        case MenuId::None: return "";
    }
    return "";
}
