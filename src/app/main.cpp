// ostreltz: the desktop program.
#include <QCommandLineParser>
#include <cstdio>

#include "app/KeshApp.h"
#include "res/QtText.h"

int main(int argc, char** argv) {
    CKeshApp app(argc, argv);  // also takes up --lang
    QCommandLineParser parser;
    parser.setApplicationDescription(QTr(TextId::WindowTitle));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption port(QStringLiteral("port"), QTr(TextId::OptPort), QStringLiteral("PATH"));
    parser.addOption(port);
    const QCommandLineOption print(QStringLiteral("print"), QTr(TextId::OptPrint));
    const QCommandLineOption printTo(QStringLiteral("print-to"), QTr(TextId::OptPrintTo), QStringLiteral("PRINTER"));
    parser.addOption(print);
    parser.addOption(printTo);
    parser.addOption(QCommandLineOption(QStringLiteral("lang"), QTr(TextId::OptLang), QStringLiteral("zh|en")));
    parser.addPositionalArgument(QStringLiteral("FILE.sin"), QTr(TextId::ArgSinFile));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(print) || parser.isSet(printTo)) {
        if (files.size() != 1) {
            std::fputs(Tr(TextId::PrintNeedsFile), stderr);
            return 2;
        }
        return app.PrintFile(files.first(), parser.value(printTo)) ? 0 : 1;
    }
    if (!app.InitInstance(files)) return 1;
    if (parser.isSet(port)) app.SetPort(parser.value(port));
    return app.exec();
}
