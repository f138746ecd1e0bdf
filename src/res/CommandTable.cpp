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
        {ID_EDIT_UNDO, MenuId::Edit, "撤销\tCtrl+Z", "Ctrl+Z", "撤销上一步修改\n撤销"},
        {ID_EDIT_REDO, MenuId::Edit, "重做\tCtrl+Y", "Ctrl+Y; Ctrl+Shift+Z", "重做撤销了的修改\n重做"},
        {ID_EDIT_CUT, MenuId::Edit, "剪切\tCtrl+X", "Ctrl+X; Shift+Del", "剪切所选单元格，放入剪贴板\n剪切"},
        {ID_EDIT_COPY, MenuId::Edit, "复制\tCtrl+Insert", "Ctrl+Ins", "复制所选单元格，放入剪贴板\n复制"},
        {ID_EDIT_PASTE, MenuId::Edit, "粘贴\tCtrl+V", "Ctrl+V; Shift+Ins", "从当前单元格起粘贴剪贴板的内容\n粘贴"},
        {ID_EDIT_CLEAR, MenuId::Edit, "清除频道\tDel", "Del", "清除所选频道的全部数据\n清除频道"},
        {ID_CHANNEL_INSERT, MenuId::Edit, "插入空频道", "", "在所选频道之前插入空频道，其后的频道下移\n插入空频道"},
        {ID_CHANNEL_DELETE, MenuId::Edit, "删除频道", "", "删除所选频道，其后的频道上移\n删除频道"},
        {ID_CHANNEL_UP, MenuId::Edit, "上移频道\tCtrl+Shift+Up", "Ctrl+Shift+Up", "把所选频道上移一个位置\n上移频道"},
        {ID_CHANNEL_DOWN, MenuId::Edit, "下移频道\tCtrl+Shift+Down", "Ctrl+Shift+Down", "把所选频道下移一个位置\n下移频道"},
        {ID_SET_FIELD, MenuId::Edit, "批量设置…", "", "把所选频道的一项设为同一个值\n批量设置"},
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
        case MenuId::Edit: return "编辑(&B)";
        case MenuId::Program: return "编程(&E)";
        case MenuId::Port: return "端口设置";
        case MenuId::View: return "查看(&V)";
        case MenuId::Help: return "帮助(&H)";
        case MenuId::None: return "";
    }
    return "";
}
