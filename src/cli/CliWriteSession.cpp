#include "cli/CliWriteSession.h"

#include <cstdio>
#include <memory>

#include <QThread>

#include "cli/CliInteraction.h"
#include "history/RadioHistory.h"
#include "history/UserHistory.h"
#include "image/FileAccess.h"
#include "link/QtSerialLink.h"
#include "link/TransferFlow.h"
#include "link/WriteLog.h"
#include "res/Texts.h"

namespace {

// Writes `image` to every port at once, each kept in the history as it ends,
// and returns the ends in port order.
std::vector<TransferEnd> WriteRound(const RadioImage& image, const WriteSessionOptions& options) {
    std::vector<TransferEnd> ends(options.ports.size());
    std::vector<std::unique_ptr<QThread>> threads;
    const bool several = options.ports.size() > 1;
    const bool history = HistoryEnabled();
    StopSignalScope stopSignals;
    for (std::size_t i = 0; i < options.ports.size(); ++i) {
        threads.emplace_back(QThread::create([&, i] {
            QtSerialLink link;
            PreciseClock clock;
            CliInteraction ui(Tr(TextId::HelpSectionWrite), options.force, options.retries,
                              several ? options.ports[i] : std::string());
            CloneEngine engine(link, clock, ui);
            const TransferPlan plan{CloneDirection::Write, options.ports[i], image, false, history};
            ends[i] = RunTransfer(engine, ui, plan, {}, &KeepInUserHistory);
        }));
        threads.back()->start();
    }
    for (auto& thread : threads) thread->wait();
    return ends;
}

// Adds the round's lines to the log file, whole or not at all.
bool AppendToLogFile(const std::string& path, const WriteLog& round) {
    std::string existing;
    if (StampOf(path).exists) {
        const FileRead read = ReadRegularFile(path, 64 * 1024 * 1024, true);
        if (!read.ok) {
            std::fprintf(stderr, "ostreltz-cli: %s\n", Describe(read.error).c_str());
            return false;
        }
        existing = read.bytes;
    }
    const auto failure = WriteFileAtomically(path, round.AppendedTo(existing));
    if (failure) std::fprintf(stderr, "ostreltz-cli: %s\n", Describe(*failure).c_str());
    return !failure;
}

bool NextRound() {
    std::fprintf(stderr, "%s\n", Tr(TextId::CliRepeatPrompt));
    char line[256];
    return std::fgets(line, sizeof line, stdin) != nullptr;
}

}  // namespace

int RunWriteSession(const RadioImage& image, const WriteSessionOptions& options) {
    WriteLog session;
    bool logged = true;
    do {
        WriteLog round;
        const std::vector<TransferEnd> ends = WriteRound(image, options);
        for (std::size_t i = 0; i < ends.size(); ++i) {
            const WriteLogEntry& entry = round.Add(options.ports[i], ends[i].result);
            session.Add(entry.port, ends[i].result, entry.time);
            std::printf("%s\n", WriteLog::EntryText(entry).c_str());
            if (ends[i].notKept) {
                const std::string notKept = NotKeptText(*ends[i].notKept);
                std::fprintf(stderr, "ostreltz-cli: %s\n",
                             (ends.size() > 1 ? entry.port + ": " + notKept : notKept).c_str());
            }
            if (entry.Written()) continue;
            const std::string failure = ends.size() > 1 ? WriteLog::FailureText(entry) : WriteLog::Reason(entry);
            std::fprintf(stderr, "ostreltz-cli: %s\n", failure.c_str());
        }
        if (!options.logFile.empty()) logged = AppendToLogFile(options.logFile, round) && logged;
        if (options.repeat) std::printf("%s\n", session.CountText().c_str());
        std::fflush(stdout);
    } while (options.repeat && !StopSignalScope::Stopped() && NextRound());
    std::printf("%s\n", session.SummaryText().c_str());
    return StopSignalScope::ExitCode(session.AllWritten() && logged ? 0 : 1);
}
