// ostreltz-cli: the radio programming tool without a window.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <QCoreApplication>
#include <QGuiApplication>
#include <memory>

#include "cli/CliCommands.h"
#include "image/FileAccess.h"
#include "res/Language.h"
#include "res/Strings.h"
#include "res/Texts.h"

namespace {

struct Verb {
    const char* name;
    int (*run)(const Args&);
    bool draws = false;  // needs fonts and a paint device
    int errorExit = 1;   // the exit code of an error (diff's 1 means "different")
};

const Verb kVerbs[] = {{"new", CmdNew},
                       {"dump", CmdDump},
                       {"read", CmdRead},
                       {"write", CmdWrite},
                       {"tune", CmdTune},
                       {"print", CmdPrint, true},
                       {"export-csv", CmdExportCsv},
                       {"import-csv", CmdImportCsv},
                       {"set", CmdSet},
                       {"diff", CmdDiff, false, 2},  // 0 the same, 1 different
                       {"history", CmdHistory}};

bool IsLanguageOption(const std::string& arg) { return arg == "--lang" || arg.rfind("--lang=", 0) == 0; }

// The arguments the commands see: without `--lang X` / `--lang=X`; after
// "--" every argument as it is.
std::vector<std::string> CommandWords(int argc, char** argv) {
    std::vector<std::string> kept;
    bool options = true;  // until "--"
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        options = options && arg != "--";
        if (options && IsLanguageOption(arg)) {
            i += arg == "--lang" ? 1 : 0;
            continue;
        }
        kept.push_back(arg);
    }
    return kept;
}

// Whether standard output took everything written to it (a full disk or a
// closed pipe behind it does not).
bool StdoutDelivered() { return std::fflush(stdout) == 0 && !std::ferror(stdout); }

int StdoutFailed() {
    std::fprintf(stderr, "ostreltz-cli: %s\n",
                 TrFormat(TextId::CliStdoutFailed, {Describe(FileErrorReason(errno))}).c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    // --lang first, else the locale of the environment, which also tells a
    // --lang it cannot take.
    SetCurrentLanguage(LanguageOfEnvironment());
    const int optionsEnd = static_cast<int>(
        std::find_if(argv + 1, argv + argc, [](const char* arg) { return std::string(arg) == "--"; }) - argv);
    if (optionsEnd > 1 && std::string(argv[optionsEnd - 1]) == "--lang") {
        std::fprintf(stderr, "ostreltz-cli: %s\n", TrFormat(TextId::CliMissingValue, {"--lang"}).c_str());
        std::fprintf(stderr, "ostreltz-cli: %s\n", Tr(TextId::BadLanguage));
        return 2;
    }
    if (const auto arg = LanguageArgument(argc, argv)) {
        const auto lang = ParseLanguage(*arg);
        if (!lang) {
            std::fprintf(stderr, "ostreltz-cli: %s\n", Tr(TextId::BadLanguage));
            return 2;
        }
        SetCurrentLanguage(*lang);
    }
    if (std::count_if(argv + 1, argv + optionsEnd, [](const char* arg) { return IsLanguageOption(arg); }) > 1) {
        std::fprintf(stderr, "ostreltz-cli: %s\n", TrFormat(TextId::CliGivenTwice, {"--lang"}).c_str());
        return 2;
    }
    const std::vector<std::string> words = CommandWords(argc, argv);
    const Verb* chosen = nullptr;
    for (const Verb& v : kVerbs)
        if (!words.empty() && words[0] == v.name) chosen = &v;
    std::unique_ptr<QCoreApplication> app;
    if (chosen && chosen->draws) {
        // Drawing needs no window: the offscreen platform unless told otherwise.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        // What the program says is its own; the toolkit's notes (a missing
        // XDG_RUNTIME_DIR under cron, say) would only be noise in a script.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    if (words.empty()) {
        std::fprintf(stderr, "ostreltz-cli: %s\n", Tr(TextId::CliMissingCommand));
        std::fputs(Tr(TextId::CliUsage), stderr);
        return 2;
    }
    const std::string& verb = words[0];
    if (verb == "--help" || verb == "-h" || verb == "help") {
        std::fputs(Tr(TextId::CliUsage), stdout);
        return StdoutDelivered() ? 0 : StdoutFailed();
    }
    if (verb == "--version") {
        std::printf("ostreltz-cli %s\n", text::kVersion);
        return StdoutDelivered() ? 0 : StdoutFailed();
    }
    const Args args(words.begin() + 1, words.end());
    if (chosen) {
        const int code = chosen->run(args);
        // Output that did not reach its place (a full disk behind standard
        // output) is a failure, whatever the verb did.
        if (!StdoutDelivered()) {
            const int failed = StdoutFailed();
            // An answer given by the exit code did not arrive: an error.
            if (chosen->errorExit != 1) return chosen->errorExit;
            return code ? code : failed;
        }
        return code;
    }
    std::fputs(TrFormat(TextId::CliUnknownCommand, {verb}).c_str(), stderr);
    std::fputs(Tr(TextId::CliUsage), stderr);
    return 2;
}
