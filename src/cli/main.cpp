// ostreltz-cli: the radio programming tool without a window.
#include <cstdio>
#include <cstring>
#include <string>

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#include "cli/CliCommands.h"

namespace {

const char kUsage[] =
    "用法: ostreltz-cli <命令> [参数]\n"
    "命令:\n"
    "  new FILE.sin                     写入新文档的写频数据\n"
    "  dump FILE.sin                    显示写频数据\n"
    "  read --port PORT --out FILE.sin  从对讲机读频\n"
    "  write --port PORT --in FILE.sin  写频至对讲机\n"
    "  tune --port PORT --item ITEM ... 在线调试\n"
    "  print FILE.sin --pdf OUT.pdf     把打印报表输出为 PDF\n"
    "  export-csv FILE.sin [-o OUT.csv] [--layout own|chirp] 导出频道表为 CSV\n"
    "  import-csv FILE.sin IN.csv [-o OUT.sin] [--renumber] 从 CSV 导入频道表（本软件的列或 CHIRP CSV）\n"
    "  set FILE.sin [-o OUT.sin] --channel N --column 列标题 --value 文本  修改单元格\n"
    "每个命令都接受 --help。\n";

struct Verb {
    const char* name;
    int (*run)(const Args&);
    bool draws;  // needs fonts and a paint device
};

const Verb kVerbs[] = {{"new", CmdNew, false},   {"dump", CmdDump, false}, {"read", CmdRead, false},
                       {"write", CmdWrite, false}, {"tune", CmdTune, false}, {"print", CmdPrint, true},
                       {"export-csv", CmdExportCsv, false}, {"import-csv", CmdImportCsv, false},
                       {"set", CmdSet, false}};

}  // namespace

int main(int argc, char** argv) {
    const Verb* chosen = nullptr;
    for (const Verb& v : kVerbs)
        if (argc >= 2 && std::strcmp(argv[1], v.name) == 0) chosen = &v;
    std::unique_ptr<QCoreApplication> app;
    if (chosen && chosen->draws) {
        // Drawing needs no window: the offscreen platform unless told otherwise.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (argc < 2) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string verb = argv[1];
    if (verb == "--help" || verb == "-h" || verb == "help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Args args(argv + 2, argv + argc);
    if (chosen) return chosen->run(args);
    std::fprintf(stderr, "ostreltz-cli: 未知命令“%s”\n", verb.c_str());
    std::fputs(kUsage, stderr);
    return 2;
}
