// The verbs that talk to a radio: read, write and tune.
#include <algorithm>
#include <cstdio>

#include <sys/stat.h>

#include "cli/CliCommands.h"
#include "cli/CliInteraction.h"
#include "cli/CliSupport.h"
#include "cli/CliWriteSession.h"
#include "history/UserHistory.h"
#include "image/ChannelCodec.h"
#include "image/FileAccess.h"
#include "image/SinFile.h"
#include "link/QtSerialLink.h"
#include "link/TransferFlow.h"
#include "link/WriteLog.h"
#include "tuning/TuningEngine.h"
#include "tuning/TuningModel.h"

namespace {

constexpr int kMostRetries = 1000;

// Whether two port paths name the same device ("/dev/pts/3" and
// "/dev/pts/../pts/3", or a link to it), or are the same text.
bool SamePort(const std::string& a, const std::string& b) {
    if (a == b) return true;
    struct stat sa {};
    struct stat sb {};
    if (::stat(a.c_str(), &sa) != 0 || ::stat(b.c_str(), &sb) != 0) return false;
    if (S_ISCHR(sa.st_mode) && S_ISCHR(sb.st_mode)) return sa.st_rdev == sb.st_rdev;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

struct LinkArgs {
    std::vector<std::string> ports;  // one, unless a write names several
    std::string file;
    int retries = 0;
    bool force = false;
    const std::string& port() const { return ports.front(); }
};

// `--port` once, or as often as the radios written at once when `severalPorts`.
std::optional<LinkArgs> ReadLinkArgs(OptionReader& r, const char* fileOption, bool allowForce,
                                     bool severalPorts = false) {
    LinkArgs la;
    if (severalPorts) {
        la.ports = r.Values("--port");
        if (la.ports.empty()) r.Fail(cli_text::MissingOption("--port"));
    } else if (auto port = r.Required("--port")) {
        la.ports.push_back(*port);
    }
    for (auto p = la.ports.begin(); p != la.ports.end(); ++p) {
        if (std::find_if(la.ports.begin(), p, [&](const std::string& q) { return SamePort(q, *p); }) != p)
            r.Fail(TrFormat(TextId::CliPortTwice, {*p}));
    }
    auto file = r.Required(fileOption);
    if (file && file->empty()) r.Fail(cli_text::BadValue(fileOption, *file));
    la.retries = r.Number("--retries", 0, kMostRetries).value_or(0);
    if (allowForce) la.force = r.Flag("--force");
    if (!r.Positional({}) || la.ports.empty() || !file) return std::nullopt;
    la.file = *file;
    return la;
}

// A read, kept in the history as it ends (`kept` says whether it was).
// Returns the exit code.
int ReadRadio(const LinkArgs& la, RadioImage& received, bool& kept) {
    QtSerialLink link;
    PreciseClock clock;
    CliInteraction ui(TransferVerb(CloneDirection::Read), la.force, la.retries);
    CloneEngine engine(link, clock, ui);
    TransferEnd end;
    {
        StopSignalScope stopSignals;
        const TransferPlan plan{CloneDirection::Read, la.port(), NewDocumentImage(), false, HistoryEnabled()};
        end = RunTransfer(engine, ui, plan, {}, &KeepInUserHistory);
        kept = plan.history && !end.notKept;
    }
    link.Close();
    if (end.notKept) std::fprintf(stderr, "ostreltz-cli: %s\n", NotKeptText(*end.notKept).c_str());
    if (end.result.outcome != CloneOutcome::Completed) {
        Error(
            TrFormat(TextId::OutcomeBlocks, {CloneOutcomeText(end.result.outcome), std::to_string(end.result.blocks)}));
        return StopSignalScope::ExitCode(1);
    }
    received = end.result.image;
    return 0;
}

}  // namespace

int CmdTune(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::TuneUsage));
    auto port = r.Required("--port");
    auto item = r.Required("--item");
    auto value = r.Number("--value", 0, 255);
    if (!value) r.Fail(cli_text::MissingOption("--value"));
    auto rx = r.Required("--rx");
    auto tx = r.Required("--tx");
    auto rxTone = r.Value("--rx-tone");
    auto txTone = r.Value("--tx-tone");
    auto step = r.Value("--step");
    const int retryCount = r.Number("--retries", 0, kMostRetries).value_or(0);
    TuningRequest request;
    const std::pair<const char*, TuningItem> items[] = {{"txfreq", TuningItem::TxFrequency},
                                                        {"lowbat", TuningItem::LowBattery},
                                                        {"squelch", TuningItem::Squelch},
                                                        {"power", TuningItem::TxPower}};
    bool known = false;
    for (const auto& [name, it] : items)
        if (item && *item == name) {
            request.item = it;
            known = true;
        }
    if (item && !known) r.Fail(cli_text::BadValue("--item", *item));
    if (step && *step != "5" && *step != "6.25") r.Fail(cli_text::BadValue("--step", *step));
    if (!r.Positional({}) || !port || !item || !value || !rx || !tx) return UsageError(r, Tr(TextId::TuneUsage));
    // Every text must mean exactly one value; nothing is sent otherwise.
    std::optional<FrequencyStep> frequencyStep;
    if (step) frequencyStep = *step == "6.25" ? FrequencyStep::Khz6_25 : FrequencyStep::Khz5;
    std::string refusal;
    std::string* sent[] = {&request.rxFrequency, &request.txFrequency};
    const std::string* given[] = {&*rx, &*tx};
    std::vector<std::string> rounded;
    for (int i = 0; i < 2; ++i) {
        const auto units = TuningFrequencyFromText(*given[i], frequencyStep, &refusal);
        if (!units) return UsageError(refusal, Tr(TextId::TuneUsage));
        *sent[i] = UnitsToFrequencyText(*units);
        if (*units != FrequencyTextToUnits(*given[i]))
            rounded.push_back(TrFormat(TextId::TuneRounded, {*given[i], *sent[i]}));
    }
    const auto rxToneText = TuningToneFromText(rxTone.value_or("OFF"), &refusal);
    if (!rxToneText) return UsageError(refusal, Tr(TextId::TuneUsage));
    const auto txToneText = TuningToneFromText(txTone.value_or("OFF"), &refusal);
    if (!txToneText) return UsageError(refusal, Tr(TextId::TuneUsage));
    request.rxTone = *rxToneText;
    request.txTone = *txToneText;
    // A frequency the step moved is told once the request is sure to go out,
    // so that the user knows what was sent.
    for (const std::string& line : rounded) std::fprintf(stderr, "%s\n", line.c_str());
    request.value = static_cast<std::uint8_t>(*value);
    QtSerialLink link;
    PreciseClock clock;
    CliInteraction ui(Tr(TextId::HelpSectionTuning), false, retryCount);
    StopSignalScope stopSignals;
    const TuningOutcome outcome = TuningEngine(link, clock, ui).Run(*port, request);
    link.Close();
    if (outcome == TuningOutcome::Cancelled && StopSignalScope::Stopped()) Error(Tr(TextId::OutcomeCancelled));
    return StopSignalScope::ExitCode(outcome == TuningOutcome::Received ? 0 : 1);
}

int CmdRead(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::ReadUsage));
    auto la = ReadLinkArgs(r, "--out", false);
    if (!la) return UsageError(r, Tr(TextId::ReadUsage));
    // A place the data cannot be saved to is refused before the radio is asked.
    if (const auto failure = CheckSavePlace(la->file)) return Error(*failure);
    RadioImage received{};
    bool kept = false;
    if (int rc = ReadRadio(*la, received, kept)) return rc;
    if (const auto failure = SaveSinFile(la->file, received)) {
        Error(*failure);
        // The disk filled up meanwhile, say: the data need not be read again.
        if (kept) std::fprintf(stderr, "%s\n", Tr(TextId::CliReadKeptInHistory));
        return 1;
    }
    return 0;
}

int CmdWrite(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::WriteUsage));
    const bool repeat = r.Flag("--repeat");
    const auto log = r.Value("--log");
    const bool backup = r.Flag("--backup");
    auto la = ReadLinkArgs(r, "--in", true, true);
    // The backup goes with one radio written once.
    if (la && backup && (la->ports.size() > 1 || repeat || log)) r.Fail(Tr(TextId::CliBackupOnePort));
    if (log && log->empty()) r.Fail(cli_text::BadValue("--log", *log));
    if (!la || !r.Problem().empty()) return UsageError(r, Tr(TextId::WriteUsage));
    const auto image = LoadImageFile(la->file);
    if (!image) return 1;
    // A log that cannot be kept is refused before the first radio is written.
    if (log)
        if (const auto failure = CheckWriteLogFile(*log)) return Error(*failure);
    return RunWriteSession(*image,
                           WriteSessionOptions{la->ports, la->force, la->retries, repeat, log.value_or(""), backup});
}
