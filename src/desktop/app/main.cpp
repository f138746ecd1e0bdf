// ostreltz: the desktop program.
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "app/FontConfigPreload.h"
#include "app/KeshApp.h"
#include "app/SessionBusPreload.h"
#include "app/UiLanguage.h"
#include "res/Language.h"
#include "res/QtText.h"
#include "res/Strings.h"

namespace {

// The program's options, described in the language already chosen.
struct Options {
    QCommandLineOption port{QStringLiteral("port"), QTr(TextId::OptPort), QStringLiteral("PATH")};
    QCommandLineOption print{QStringLiteral("print"), QTr(TextId::OptPrint)};
    QCommandLineOption printTo{QStringLiteral("print-to"), QTr(TextId::OptPrintTo), QStringLiteral("PRINTER")};

    void AddTo(QCommandLineParser& parser) const {
        parser.setApplicationDescription(QTr(TextId::WindowTitle));
        parser.addHelpOption();
        parser.addVersionOption();
        parser.addOption(port);
        parser.addOption(print);
        parser.addOption(printTo);
        parser.addOption(QCommandLineOption(QStringLiteral("lang"), QTr(TextId::OptLang), QStringLiteral("zh|en")));
        parser.addPositionalArgument(QStringLiteral("FILE.sin"), QTr(TextId::ArgSinFile));
    }
};

bool AsksHelpOrVersion(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"--help", "-h", "-?", "--help-all", "--version", "-v"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

// --help and --version are answered before any window system is needed; an
// answer that does not reach standard output (a full disk) is a failure.
int AnswerHelpOrVersion(int argc, char** argv) {
    QCoreApplication core(argc, argv);
    core.setApplicationName(QString::fromUtf8(Tr(TextId::AppTitle, Lang::Zh)));
    core.setOrganizationName(QString::fromUtf8(text::kSettingsKey));
    core.setApplicationVersion(QString::fromUtf8(text::kVersion));
    ApplyLanguage(StartLanguage(core.arguments()));
    const Options options;
    QCommandLineParser parser;
    options.AddTo(parser);
    if (!parser.parse(core.arguments())) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        return 1;
    }
    // The program's name in the language it speaks; the application's name
    // above stays Chinese, as it names the settings' file.
    const QString answer =
        parser.isSet(QStringLiteral("version"))
            ? QString::fromUtf8(Tr(TextId::AppTitle)) + QLatin1Char(' ') + core.applicationVersion() + '\n'
            : parser.helpText();
    std::fputs(answer.toLocal8Bit().constData(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (AsksHelpOrVersion(argc, argv)) return AnswerHelpOrVersion(argc, argv);
    FontConfigPreload fontConfig;
    CKeshApp app(argc, argv);  // also takes up --lang
    fontConfig.Finish();
    const SessionBusPreload sessionBus;
    const Options options;
    QCommandLineParser parser;
    options.AddTo(parser);
    // A wrong option is named by the program's name in the language it speaks.
    if (!parser.parse(app.arguments())) {
        std::fprintf(stderr, "%s: %s\n", Tr(TextId::AppTitle), qPrintable(parser.errorText()));
        return 1;
    }
    // A language the program does not speak is refused, not passed over.
    if (const QString lang = parser.value(QStringLiteral("lang"));
        !lang.isEmpty() && !ParseLanguage(lang.toStdString())) {
        std::fprintf(stderr, "%s: %s\n", Tr(TextId::AppTitle), Tr(TextId::BadLanguage));
        return 1;
    }
    const QStringList files = parser.positionalArguments();
    if (parser.isSet(options.print) || parser.isSet(options.printTo)) {
        if (files.size() != 1) {
            std::fputs(Tr(TextId::PrintNeedsFile), stderr);
            return 2;
        }
        return app.PrintFile(files.first(), parser.value(options.printTo)) ? 0 : 1;
    }
    if (!app.InitInstance(files)) return 1;
    if (parser.isSet(options.port)) app.SetPort(parser.value(options.port));
    return app.exec();
}
