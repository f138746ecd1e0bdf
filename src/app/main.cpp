// ostreltz: the desktop program.
#include <QCommandLineParser>

#include "app/KeshApp.h"

int main(int argc, char** argv) {
    CKeshApp app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("OstrelTZ系列专业手持对讲机写频软件"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE.sin"), QStringLiteral("要打开的写频数据文件"));
    parser.process(app);
    if (!app.InitInstance(parser.positionalArguments())) return 1;
    return app.exec();
}
