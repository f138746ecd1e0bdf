// ostreltz: the desktop program.
#include <QCommandLineParser>

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
    parser.addPositionalArgument(QStringLiteral("FILE.sin"), QStringLiteral("要打开的写频数据文件"));
    parser.process(app);
    if (!app.InitInstance(parser.positionalArguments())) return 1;
    if (parser.isSet(port)) app.SetPort(parser.value(port));
    return app.exec();
}
