// The verbs that work on files: new, dump, set, diff, print and the CSV
// export and import.
#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/CliCommands.h"
#include "cli/CliSupport.h"
#include "cli/ImageDump.h"
#include "compare/ImageDiff.h"
#include "csv/ChannelCsv.h"
#include "editor/EditSession.h"
#include "image/ChannelCodec.h"
#include "image/FileAccess.h"
#include "image/SinFile.h"
#include "print/ReportPainter.h"

#include <QPrinter>

namespace {

int OutputIsInput(const std::string& output) { return Error(TrFormat(TextId::CliOutputIsInput, {output})); }

}  // namespace

int CmdPrint(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(Tr(TextId::PrintUsage));
    auto pdf = r.Required("--pdf");
    auto rest = r.Positional({Tr(TextId::CliArgSinFile)});
    if (!pdf || !rest) return UsageError(r, Tr(TextId::PrintUsage));
    if (SameFile(*pdf, rest->front())) return OutputIsInput(*pdf);
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
    if (out && SameFile(*out, rest->front())) return OutputIsInput(*out);
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
    if (SameFile(out.value_or((*rest)[0]), (*rest)[1])) return OutputIsInput(out.value_or((*rest)[0]));
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
    bool unfinished = false;  // a cell named since the last --value
    bool options = true;      // until "--"
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
            unfinished = a == "--channel" || a == "--column" || (unfinished && a == "-o");
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
    // A last cell without its text is a slip, not a change to leave out.
    if (unfinished)
        return fail(TrFormat(TextId::CliEditWithoutValue, {std::to_string(next.channel), ColumnCaption(next.column)}));
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
    const bool force = r.Flag("--force");
    auto rest = r.Positional({Tr(TextId::CliArgSinFile)});
    if (!rest) return UsageError(r, Tr(TextId::NewUsage));
    // A slip of the verb must not empty a file of channels.
    std::error_code error;
    if (!force && std::filesystem::exists(rest->front(), error))
        return Error(TrFormat(TextId::CliFileExists, {rest->front()}));
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
