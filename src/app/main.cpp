// ostreltz: the desktop program.
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "app/KeshApp.h"
#include "res/Strings.h"

namespace {

struct Options {
    QCommandLineOption port{QStringLiteral("port"), QStringLiteral("读频和写频使用的串口（COM1..COM4 或设备路径）"),
                            QStringLiteral("PATH")};
    QCommandLineOption print{QStringLiteral("print"), QStringLiteral("用默认打印机打印文件，不打开窗口")};
    QCommandLineOption printTo{QStringLiteral("print-to"), QStringLiteral("用指定的打印机打印文件，不打开窗口"),
                               QStringLiteral("PRINTER")};

    void AddTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(QStringLiteral("OstrelTZ系列专业手持对讲机写频软件"));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(port);
        parser.addOption(print);
        parser.addOption(printTo);
        parser.addPositionalArgument(QStringLiteral("FILE.sin"), QStringLiteral("要打开的写频数据文件"));
    }
};

// --help and --version are answered before any window system is needed.
bool AsksHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--help", "-h", "-?", "--help-all", "--version", "-v"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options;
    if (AsksHelpOrVersion(argc, argv)) {
        QCoreApplication core(argc, argv);
        core.setApplicationName(QString::fromUtf8(text::kAppTitle));
        core.setApplicationVersion(QString::fromUtf8(text::kVersion));
        QCommandLineParser parser;
        options.AddTo(parser);
        parser.process(core);  // prints and ends the program
        return 0;
    }
    CKeshApp app(argc, argv);
    QCommandLineParser parser;
    options.AddTo(parser);
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(options.print) || parser.isSet(options.printTo)) {
        if (files.size() != 1) {
            std::fputs("ostreltz: --print 和 --print-to 需要一个 .sin 文件\n", stderr);
            return 2;
        }
        return app.PrintFile(files.first(), parser.value(options.printTo)) ? 0 : 1;
    }
    if (!app.InitInstance(files)) return 1;
    if (parser.isSet(options.port)) app.SetPort(parser.value(options.port));
    return app.exec();
}
