// The verb that looks into the history of images read and written.
#include <cstdio>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "cli/ImageDump.h"
#include "history/RadioHistory.h"
#include "history/UserHistory.h"

int CmdHistory(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::HistoryUsage));
    const std::string what = args.empty() ? "list" : args[0];
    FolderHistoryStore store(UserHistoryFolder());
    const RadioHistory history(store);
    if (what == "path" && args.size() == 1) {
        std::printf("%s\n", store.Folder().c_str());
        return 0;
    }
    if ((what == "on" || what == "off") && args.size() == 1) {
        if (const std::optional<Failure> failure = SetHistoryEnabled(what == "on")) return Error(*failure);
        return 0;
    }
    if (what == "list" && args.size() <= 1) {
        if (!HistoryEnabled()) std::fprintf(stderr, "%s\n", Tr(TextId::HistoryOff));
        if (const std::optional<Failure> failure = store.ListFailure()) return Error(*failure);
        const std::vector<HistoryEntry> entries = history.List();
        for (std::size_t i = 0; i < entries.size(); ++i)
            std::printf("%s\n", HistoryLine(entries[i], static_cast<int>(i + 1)).c_str());
        return 0;
    }
    int number = 0;
    if (what == "show" && args.size() == 2 && ParseNumber(args[1], 1, 1000000, number)) {
        if (const std::optional<Failure> failure = store.ListFailure()) return Error(*failure);
        const std::vector<HistoryEntry> entries = history.List();
        if (static_cast<std::size_t>(number) > entries.size())
            return Error(TrFormat(TextId::HistoryNoEntry, {args[1], std::to_string(entries.size())}));
        const HistoryEntry& entry = entries[static_cast<std::size_t>(number - 1)];
        const auto image = history.Image(entry.name);
        if (!image) return Error(history.ImageFailure(entry.name));
        std::printf("%s\n%s/%s.sin\n\n%s", HistoryLine(entry, number).c_str(), store.Folder().c_str(),
                    entry.name.c_str(), DumpImage(*image).c_str());
        return 0;
    }
    // What is wrong, named: the word, the entry's number or what follows.
    std::string problem = cli_text::BadValue("history", what);
    if (what == "show" && args.size() < 2)
        problem = cli_text::MissingArgument(Tr(TextId::CliArgEntry));
    else if (what == "show" && args.size() == 2)
        problem = cli_text::BadValue("show", args[1]);
    else if (what == "show" || what == "list" || what == "path" || what == "on" || what == "off")
        problem = cli_text::ExtraArgument(args[what == "show" ? 2 : 1]);
    return UsageError(problem, Tr(TextId::HistoryUsage));
}
