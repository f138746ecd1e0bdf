#include "cli/CliWriteSession.h"

#include <cstdio>
#include <filesystem>
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

// A radio's end, and when it ended.
struct RadioEnd {
    TransferEnd end;
    LogClock::time_point at;
};

// Writes `image` to every port at once, each kept in the history as it ends,
// and returns the ends in port order.
std::vector<RadioEnd> WriteRound(const RadioImage& image, const WriteSessionOptions& options) {
    std::vector<RadioEnd> ends(options.ports.size());
    std::vector<std::unique_ptr<QThread>> threads;
    const bool several = options.ports.size() > 1;
    const bool history = HistoryEnabled();
    StopSignalScope stopSignals;
    for (std::size_t i = 0; i < options.ports.size(); ++i) {
        threads.emplace_back(QThread::create([&, i] {
            QtSerialLink link;
            PreciseClock clock;
            CliInteraction ui(TransferVerb(CloneDirection::Write), options.force, options.retries,
                              several ? options.ports[i] : std::string());
            CloneEngine engine(link, clock, ui);
            const TransferPlan plan{CloneDirection::Write, options.ports[i], image, options.backup, history};
            // A backup's blocks count as read.
            const ShowPhase phase = [&ui](CloneDirection way, const std::string& title) {
                ui.StartPhase(TransferVerb(way), title);
            };
            ends[i].end = RunTransfer(engine, ui, plan, phase, &KeepInUserHistory);
            ends[i].at = LogClock::now();
        }));
        threads.back()->start();
    }
    for (auto& thread : threads) thread->wait();
    return ends;
}

// The log file's bytes: none yet, or those of a write log; nothing, with
// `failure`, when it cannot be read or is something else.
std::optional<std::string> LogFileText(const std::string& path, Failure& failure) {
    if (!StampOf(path).exists) return std::string();
    const FileRead read = ReadRegularFile(path, 64 * 1024 * 1024, true);
    if (!read.ok) {
        failure = read.error;
        return std::nullopt;
    }
    if (!IsWriteLogText(read.bytes)) {
        failure = Fail(TextId::LogNotAWriteLog, {path});
        return std::nullopt;
    }
    return read.bytes;
}

// Adds the round's lines to the log file, whole or not at all.
bool AppendToLogFile(const std::string& path, const WriteLog& round) {
    std::error_code error;
    const FolderLock turn(std::filesystem::absolute(path, error).parent_path().string());
    Failure failure;
    std::optional<std::string> text = LogFileText(path, failure);
    if (text) text = round.AppendedTo(*text);
    std::optional<Failure> written = text ? WriteFileAtomically(path, *text) : std::optional<Failure>(failure);
    if (written) std::fprintf(stderr, "ostreltz-cli: %s\n", Describe(*written).c_str());
    return !written;
}

bool NextRound() {
    std::fprintf(stderr, "%s\n", Tr(TextId::CliRepeatPrompt));
    char line[256];
    return std::fgets(line, sizeof line, stdin) != nullptr;
}

}  // namespace

std::optional<Failure> CheckWriteLogFile(const std::string& path) {
    if (const auto failure = CheckSavePlace(path)) return failure;
    Failure failure;
    if (!LogFileText(path, failure)) return failure;
    return std::nullopt;
}

int RunWriteSession(const RadioImage& image, const WriteSessionOptions& options) {
    WriteLog session;
    bool logged = true;
    do {
        WriteLog round;
        const std::vector<RadioEnd> ends = WriteRound(image, options);
        for (std::size_t i = 0; i < ends.size(); ++i) {
            const WriteLogEntry& entry = round.Add(options.ports[i], ends[i].end.result, ends[i].at);
            session.Add(entry.port, ends[i].end.result, entry.time);
            std::printf("%s\n", WriteLog::EntryText(entry).c_str());
            if (ends[i].end.notKept) {
                const std::string notKept = NotKeptText(*ends[i].end.notKept);
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
