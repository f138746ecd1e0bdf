#include "cli/CliCommands.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include <sys/stat.h>

#include "cli/CliInteraction.h"
#include "cli/CliWriteSession.h"
#include "cli/ImageDump.h"
#include "editor/EditSession.h"
#include "image/ChannelCodec.h"
#include "csv/ChannelCsv.h"
#include "image/FileAccess.h"
#include "compare/ImageDiff.h"
#include "history/RadioHistory.h"
#include "history/UserHistory.h"
#include "image/SinFile.h"
#include "link/TransferFlow.h"
#include "link/WriteLog.h"
#include "link/QtSerialLink.h"
#include "print/ReportPainter.h"
#include "res/Texts.h"
#include "tuning/TuningEngine.h"
#include "tuning/TuningModel.h"

#include <QPrinter>

namespace {

// What the command line says when its arguments are wrong, before the usage.
namespace cli_text {
std::string MissingOption(const std::string& name) { return TrFormat(TextId::CliMissingOption, {name}); }
std::string MissingValue(const std::string& name) { return TrFormat(TextId::CliMissingValue, {name}); }
std::string UnknownOption(const std::string& name) { return TrFormat(TextId::CliUnknownOption, {name}); }
std::string MissingArgument(const std::string& what) { return TrFormat(TextId::CliMissingArgument, {what}); }
std::string ExtraArgument(const std::string& text) { return TrFormat(TextId::CliExtraArgument, {text}); }
std::string BadValue(const std::string& name, const std::string& value) {
    return TrFormat(TextId::CliBadValue, {name, value});
}
std::string GivenTwice(const std::string& name) { return TrFormat(TextId::CliGivenTwice, {name}); }
std::string NotInRange(const std::string& name, const std::string& value, int low, int high) {
    return TrFormat(TextId::CliNotInRange, {name, value, std::to_string(low), std::to_string(high)});
}
}  // namespace cli_text

// An argument that names an option ("--port", "-o"), not a value ("-5").
bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' &&
           (arg[1] == '-' || (arg[1] >= 'a' && arg[1] <= 'z') || (arg[1] >= 'A' && arg[1] <= 'Z'));
}

// An option's name and, when written "--name=value", its value.
struct OptionWord {
    std::string name;
    std::optional<std::string> joined;
};

OptionWord SplitOptionWord(const std::string& arg) {
    const std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) != 0 || equals == std::string::npos || equals <= 2) return {arg, std::nullopt};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
}

// A whole decimal number from `low` to `high`; blanks around it are allowed
// on both sides alike.
bool ParseNumber(const std::string& given, int low, int high, int& out) {
    const std::string text = TrimBlanks(given);
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end || errno || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

// A tiny option reader: "--name value" pairs, flags and positional arguments.
// After "--" every argument is positional ("-- -x.sin"). The first thing
// wrong is kept in Problem() for the usage message.
class OptionReader {
public:
    explicit OptionReader(const Args& args)
        : m_args(args), m_end(static_cast<std::size_t>(std::find(args.begin(), args.end(), "--") - args.begin())) {}
    bool Help() const {
        for (std::size_t i = 0; i < m_end; ++i)
            if (m_args[i] == "--help" || m_args[i] == "-h") return true;
        return false;
    }
    // The value after `name`, or joined to it as "--name=value" (then taken
    // as it is, even when it begins with a dash); an option given twice or
    // without its value is a problem.
    std::optional<std::string> Value(const std::string& name) {
        std::optional<std::string> value;
        for (const std::string& given : Values(name)) {
            if (value)
                Fail(cli_text::GivenTwice(name));
            else
                value = given;
        }
        return value;
    }
    // A number from `low` to `high` after `name`.
    std::optional<int> Number(const std::string& name, int low, int high) {
        const auto text = Value(name);
        int number = 0;
        if (!text) return std::nullopt;
        if (!ParseNumber(*text, low, high, number)) {
            Fail(cli_text::NotInRange(name, *text, low, high));
            return std::nullopt;
        }
        return number;
    }
    // Every value of an option that may be given several times.
    std::vector<std::string> Values(const std::string& name) {
        std::vector<std::string> values;
        for (std::size_t i = 0; i < m_end; ++i) {
            const OptionWord word = SplitOptionWord(m_args[i]);
            if (word.name != name) continue;
            m_used.push_back(i);
            if (word.joined)
                values.push_back(*word.joined);
            else if (i + 1 == m_end || IsOption(m_args[i + 1]))
                Fail(cli_text::MissingValue(name));
            else
                values.push_back(m_args[++i]), m_used.push_back(i);
        }
        return values;
    }
    // A value the command cannot do without.
    std::optional<std::string> Required(const std::string& name) {
        auto value = Value(name);
        if (!value) Fail(cli_text::MissingOption(name));
        return value;
    }
    bool Flag(const std::string& name) {
        bool given = false;
        for (std::size_t i = 0; i < m_end; ++i)
            if (m_args[i] == name) {
                m_used.push_back(i);
                if (given) Fail(cli_text::GivenTwice(name));
                given = true;
            }
        return given;
    }
    // The arguments not taken by Value or Flag, which must be exactly the
    // ones `names` describes; nothing when they are not or anything else
    // was wrong.
    std::optional<Args> Positional(const std::vector<std::string>& names) {
        Args rest;
        for (std::size_t i = 0; i < m_args.size(); ++i) {
            if (i == m_end || std::find(m_used.begin(), m_used.end(), i) != m_used.end()) continue;
            if (i < m_end && IsOption(m_args[i])) Fail(cli_text::UnknownOption(m_args[i]));
            rest.push_back(m_args[i]);
        }
        if (rest.size() < names.size()) Fail(cli_text::MissingArgument(names[rest.size()]));
        if (rest.size() > names.size()) Fail(cli_text::ExtraArgument(rest[names.size()]));
        if (!m_problem.empty()) return std::nullopt;
        return rest;
    }
    void Fail(const std::string& problem) {
        if (m_problem.empty()) m_problem = problem;
    }
    const std::string& Problem() const { return m_problem; }

private:
    const Args& m_args;
    std::size_t m_end;  // where "--" ends the options, or the arguments' end
    std::vector<std::size_t> m_used;
    std::string m_problem;
};

// The usage on standard output; whether it got there is checked on the way out.
int Usage(const char* text) {
    std::fputs(text, stdout);
    return 0;
}

// What is wrong with the arguments, then the usage; exit code 2.
int UsageError(const std::string& problem, const char* text) {
    std::fprintf(stderr, "ostreltz-cli: %s\n", problem.c_str());
    std::fputs(text, stderr);
    return 2;
}

int UsageError(const OptionReader& reader, const char* text) { return UsageError(reader.Problem(), text); }

int Error(const std::string& text) {
    std::fprintf(stderr, "ostreltz-cli: %s\n", text.c_str());
    return 1;
}

int Error(const Failure& failure) { return Error(Describe(failure)); }

// A .sin file loaded over a new document's image; nothing, after saying why,
// when it cannot be loaded. An empty file holds no data to show or send.
std::optional<RadioImage> LoadImageFile(const std::string& path) {
    RadioImage image = NewDocumentImage();
    const SinLoadResult loaded = LoadSinFile(path, image, EmptySin::Refused);
    if (!loaded.ok) {
        Error(loaded.error);
        return std::nullopt;
    }
    if (loaded.warning) std::fprintf(stderr, "ostreltz-cli: %s\n", Describe(*loaded.warning).c_str());
    return image;
}

// What saving `image` as a document writes, as the desktop and the page save
// it: every channel row encoded from its texts by the editing session.
RadioImage AsSaved(const RadioImage& image) {
    EditSession session;
    session.Load(image);
    return session.ImageForSave();
}

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

// Whether `output` names the file `input` names (the same path, a link to
// it, another spelling): writing it would destroy the input.
bool IsTheInput(const std::string& output, const std::string& input) {
    std::error_code error;
    return std::filesystem::equivalent(output, input, error);
}

int OutputIsInput(const std::string& output) { return Error(TrFormat(TextId::CliOutputIsInput, {output})); }

int CmdPrint(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::PrintUsage));
    auto pdf = r.Required("--pdf");
    auto rest = r.Positional({Tr(TextId::CliArgSinFile)});
    if (!pdf || !rest) return UsageError(r, Tr(TextId::PrintUsage));
    if (IsTheInput(*pdf, rest->front())) return OutputIsInput(*pdf);
    const auto image = LoadImageFile(rest->front());
    if (!image) return 1;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QString::fromUtf8(Tr(TextId::AppTitle)));
    if (const auto failure = SaveReportPdf(&printer, ReportInputsFromImage(*image), *pdf)) return Error(*failure);
    return 0;
}

int CmdExportCsv(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::ExportUsage));
    auto out = r.Value("-o");
    const std::string layout = r.Value("--layout").value_or("own");
    if (layout != "own" && layout != "chirp") r.Fail(cli_text::BadValue("--layout", layout));
    auto rest = r.Positional({Tr(TextId::CliArgSinFile)});
    if (!rest) return UsageError(r, Tr(TextId::ExportUsage));
    if (out && IsTheInput(*out, rest->front())) return OutputIsInput(*out);
    const auto image = LoadImageFile(rest->front());
    if (!image) return 1;
    const std::string csv = ExportChannelsCsv(*image, layout == "chirp" ? CsvLayout::Chirp : CsvLayout::Own);
    if (!out) {
        std::fwrite(csv.data(), 1, csv.size(), stdout);
        return 0;
    }
    if (const auto failure = WriteFileAtomically(*out, csv)) return Error(*failure);
    return 0;
}

int CmdImportCsv(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::ImportUsage));
    auto out = r.Value("-o");
    const bool applyValid = r.Flag("--apply-valid");
    const bool renumber = r.Flag("--renumber");
    const bool merge = r.Flag("--merge");
    auto rest = r.Positional({Tr(TextId::CliArgSinFile), Tr(TextId::CliArgCsvFile)});
    if (!rest) return UsageError(r, Tr(TextId::ImportUsage));
    if (IsTheInput(out.value_or((*rest)[0]), (*rest)[1])) return OutputIsInput(out.value_or((*rest)[0]));
    auto image = LoadImageFile((*rest)[0]);
    if (!image) return 1;
    const FileRead text = ReadRegularFile((*rest)[1], kLargestCsv, true);
    if (!text.ok) return Error(text.error);
    const CsvImport result = ImportChannelsCsv(text.bytes, *image, CsvImportOptions{applyValid, renumber, merge});
    for (const CsvProblem& p : result.problems)
        std::fprintf(stderr, "%s\n", TrFormat(TextId::CsvLine, {std::to_string(p.line), p.reason}).c_str());
    if (result.refusedWhole) return Error(Tr(TextId::CsvNothingImported));
    if (!result.applied)
        return Error(TrFormat(TextId::CsvRefusedNothingDone, {std::to_string(result.problems.size())}));
    if (const auto failure = SaveSinFile(out.value_or((*rest)[0]), AsSaved(*image))) return Error(*failure);
    std::fprintf(stderr, "%s\n", CsvImportSummary(result).c_str());
    return result.problems.empty() ? 0 : 1;
}

namespace {

struct CellEdit {
    int channel = 0;
    int column = 0;
    std::string value;
};

// Columns 1-10 by their caption in either language; 0 for any other text.
int EditedColumn(const std::string& caption) { return std::max(ColumnOfCaption(TrimBlanks(caption)), 0); }

// The captions --column takes, in the language spoken.
std::string ColumnChoices() {
    std::string list;
    for (int c = 1; c < col::kCount; ++c) list += (c > 1 ? Tr(TextId::CliListSeparator) : "") + ColumnCaption(c);
    return TrFormat(TextId::CliColumnChoices, {list});
}

// The edits in the order given; nothing, with the first problem in
// `problem`, when an argument is not understood.
std::optional<std::vector<CellEdit>> ReadCellEdits(const Args& args, std::string& file, std::optional<std::string>& out,
                                                   std::string& problem) {
    auto fail = [&](const std::string& text) -> std::optional<std::vector<CellEdit>> {
        problem = text;
        return std::nullopt;
    };
    std::vector<CellEdit> edits;
    CellEdit next;
    bool options = true;  // until "--"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const auto [a, joined] = options ? SplitOptionWord(args[i]) : OptionWord{args[i], std::nullopt};
        if (options && a == "--") {
            options = false;
        } else if (options && (a == "--channel" || a == "--column" || a == "--value" || a == "-o")) {
            // A cell's text may begin with '-'; the other values may not,
            // unless joined to their option.
            if (!joined && (i + 1 == args.size() || (a != "--value" && IsOption(args[i + 1]))))
                return fail(cli_text::MissingValue(a));
            const std::string value = joined ? *joined : args[++i];
            if (a == "--channel") {
                if (!ParseNumber(value, 1, kChannelCount, next.channel))
                    return fail(cli_text::NotInRange(a, value, 1, kChannelCount));
            } else if (a == "--column") {
                next.column = EditedColumn(value);
                if (next.column == 0) return fail(cli_text::BadValue(a, value) + '\n' + ColumnChoices());
            } else if (a == "--value") {
                if (next.channel == 0 || next.column == 0) return fail(Tr(TextId::CliValueBeforeCell));
                next.value = value;
                edits.push_back(next);
            } else {
                if (out) return fail(cli_text::GivenTwice(a));
                out = value;
            }
        } else if (options && IsOption(a)) {
            return fail(cli_text::UnknownOption(args[i]));
        } else if (!file.empty()) {
            return fail(cli_text::ExtraArgument(a));
        } else {
            file = a;
        }
    }
    if (file.empty()) return fail(cli_text::MissingArgument(Tr(TextId::CliArgSinFile)));
    if (edits.empty()) return fail(cli_text::MissingOption("--value"));
    return edits;
}

}  // namespace

int CmdSet(const Args& args) {
    if (OptionReader(args).Help()) return Usage(Tr(TextId::SetUsage));
    std::string file, problem;
    std::optional<std::string> out;
    const auto edits = ReadCellEdits(args, file, out, problem);
    if (!edits) {
        std::fprintf(stderr, "ostreltz-cli: %s\n", problem.c_str());
        std::fputs(Tr(TextId::SetUsage), stderr);
        return 2;
    }
    const auto image = LoadImageFile(file);
    if (!image) return 1;
    EditSession session;
    session.Load(*image);
    bool refused = false;
    for (const CellEdit& edit : *edits) {
        const EditResult result = session.SetCell(edit.channel, edit.column, edit.value, CellEntry::Exact);
        auto problem = [&](const std::string& text) {
            std::fprintf(stderr, "%s\n",
                         TrFormat(TextId::SetCellProblem,
                                  {std::to_string(edit.channel), ColumnCaption(edit.column), edit.value, text})
                             .c_str());
        };
        for (FrequencyMessage message : result.messages) problem(FrequencyMessageText(message));
        if (!result.refusal.empty()) problem(result.refusal);
        refused = refused || result.refused;
    }
    if (refused) return Error(Tr(TextId::SetRefused));
    if (const auto failure = SaveSinFile(out.value_or(file), session.ImageForSave())) return Error(*failure);
    return 0;
}

int CmdNew(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::NewUsage));
    auto rest = r.Positional({Tr(TextId::CliArgSinFile)});
    if (!rest) return UsageError(r, Tr(TextId::NewUsage));
    if (const auto failure = SaveSinFile(rest->front(), AsSaved(NewDocumentImage()))) return Error(*failure);
    return 0;
}

int CmdDump(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::DumpUsage));
    auto rest = r.Positional({Tr(TextId::CliArgSinFile)});
    if (!rest) return UsageError(r, Tr(TextId::DumpUsage));
    const auto image = LoadImageFile(rest->front());
    if (!image) return 1;
    std::fputs(DumpImage(*image).c_str(), stdout);
    return 0;
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

int CmdDiff(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::DiffUsage));
    const bool bytes = r.Flag("--bytes");
    const bool json = r.Flag("--json");
    auto rest = r.Positional({Tr(TextId::CliArgSinFile), Tr(TextId::CliArgSinFile)});
    if (!rest) return UsageError(r, Tr(TextId::DiffUsage));
    // 0 the same, 1 different, 2 when the two could not be compared.
    const auto before = LoadImageFile((*rest)[0]);
    if (!before) return 2;
    const auto after = LoadImageFile((*rest)[1]);
    if (!after) return 2;
    const std::vector<ImageDifference> differences = CompareImages(*before, *after, CompareOptions{bytes});
    if (json) {
        std::fputs(DifferencesJson(differences).c_str(), stdout);
    } else {
        for (const ImageDifference& d : differences) std::printf("%s\n", DifferenceLine(d).c_str());
    }
    return differences.empty() ? 0 : 1;
}

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
