#pragma once
// Texts of the program's shell.

namespace text {
inline constexpr const char* kAppTitle = "OstrelTZ写频软件";                       // message box caption
inline constexpr const char* kWindowTitle = "OstrelTZ系列专业手持对讲机写频软件";  // main window caption
inline constexpr const char* kDocTypeName = "写频数据";
inline constexpr const char* kFileFilter = "写频数据 文件 (*.sin)";
inline constexpr const char* kFileExtension = ".sin";
inline constexpr const char* kRegisteredTypeId = "Vardo.Document";
inline constexpr const char* kRegisteredTypeName = "Vardo Document";
inline constexpr const char* kSettingsKey = "Local AppWizard-Generated Applications";
inline constexpr const char* kIdle = "如需帮助，请按F1键";
inline constexpr const char* kHelpMode = "选定一个要得到帮助的对象";
inline constexpr const char* kCaps = "大写";
inline constexpr const char* kNum = "数字";
inline constexpr const char* kScroll = "滚动";
inline constexpr const char* kRecentPlaceholder = "最近文件";
inline constexpr const char* kRecentPrompt = "打开该文档";
inline constexpr const char* kAbout = "OstrelTZ系列写频软件11.1 版";
inline constexpr const char* kUntitled = "无标题";
inline constexpr const char* kVersion = "11.1";
inline constexpr const char* kPointerCombo = "请点击组合框右边的箭头按钮以进行选择";
inline constexpr const char* kPointerGrid = "请双击格子进入编辑状态或直接输入数字,如需帮助，请按F1键";
inline constexpr const char* kEditChannels = "请直接在右边的表格双击";

// Feedback in the status bar and questions of the window (%1, %2 filled in).
inline constexpr const char* kReadDone = "读频完成：%1，用时 %2 秒";
inline constexpr const char* kWriteDone = "写频完成：%1，用时 %2 秒";
inline constexpr const char* kSaved = "已保存 %1";
inline constexpr const char* kAskAbortWrite = "中断写频会使对讲机中的数据不完整，确定中断吗？";
inline constexpr const char* kOtherPort = "其他端口…";
inline constexpr const char* kOtherPortWithPath = "其他端口 (%1)…";
}  // namespace text
