// ostreltz: the desktop program.
#include <QCommandLineParser>
#include <cstdio>

#include "app/KeshApp.h"

int main(int argc, char** argv) {
    CKeshApp app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("OstrelTZ系列专业手持对讲机写频软件"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("读频和写频使用的串口（COM1..COM4 或设备路径）"),
                                  QStringLiteral("PATH"));
    parser.addOption(port);
    const QCommandLineOption print(QStringLiteral("print"), QStringLiteral("用默认打印机打印文件，不打开窗口"));
    const QCommandLineOption printTo(QStringLiteral("print-to"), QStringLiteral("用指定的打印机打印文件，不打开窗口"),
                                     QStringLiteral("PRINTER"));
    parser.addOption(print);
    parser.addOption(printTo);
    parser.addPositionalArgument(QStringLiteral("FILE.sin"), QStringLiteral("要打开的写频数据文件"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(print) || parser.isSet(printTo)) {
        if (files.size() != 1) {
            std::fputs("ostreltz: --print 和 --print-to 需要一个 .sin 文件\n", stderr);
            return 2;
        }
        return app.PrintFile(files.first(), parser.value(printTo)) ? 0 : 1;
    }
    if (!app.InitInstance(files)) return 1;
    if (parser.isSet(port)) app.SetPort(parser.value(port));
    return app.exec();
}
