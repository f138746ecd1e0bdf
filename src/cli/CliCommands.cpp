#include "cli/CliCommands.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

#include "cli/CliInteraction.h"
#include "cli/ImageDump.h"
#include "editor/EditSession.h"
#include "image/ChannelCodec.h"
#include "image/ChannelCsv.h"
#include "image/SinFile.h"
#include "link/CloneEngine.h"
#include "link/QtSerialLink.h"
#include "print/ReportPainter.h"
#include "res/Texts.h"
#include "tuning/TuningEngine.h"

#include <QPrinter>

namespace {

// A tiny option reader: "--name value" pairs, flags and positional arguments.
class OptionReader {
public:
    explicit OptionReader(const Args& args) : m_args(args) {}
    bool Help() const {
        for (const std::string& a : m_args)
            if (a == "--help" || a == "-h") return true;
        return false;
    }
    std::optional<std::string> Value(const std::string& name) {
        for (std::size_t i = 0; i + 1 < m_args.size(); ++i)
            if (m_args[i] == name) {
                m_used.push_back(i);
                m_used.push_back(i + 1);
                return m_args[i + 1];
            }
        return std::nullopt;
    }
    bool Flag(const std::string& name) {
        for (std::size_t i = 0; i < m_args.size(); ++i)
            if (m_args[i] == name) {
                m_used.push_back(i);
                return true;
            }
        return false;
    }
    // Arguments not taken by Value or Flag; an unknown option makes it fail.
    std::optional<Args> Rest() const {
        Args rest;
        for (std::size_t i = 0; i < m_args.size(); ++i) {
            bool used = false;
            for (std::size_t u : m_used) used = used || u == i;
            if (used) continue;
            if (m_args[i].size() > 1 && m_args[i][0] == '-') return std::nullopt;
            rest.push_back(m_args[i]);
        }
        return rest;
    }

private:
    const Args& m_args;
    std::vector<std::size_t> m_used;
};

int Usage(const char* text, bool asked) {
    std::fputs(text, asked ? stdout : stderr);
    return asked ? 0 : 2;
}

int Error(const std::string& text) {
    std::fprintf(stderr, "ostreltz-cli: %s\n", text.c_str());
    return 1;
}

// A .sin file loaded over a new document's image; nothing, after saying why,
// when it cannot be loaded.
std::optional<RadioImage> LoadImageFile(const std::string& path) {
    RadioImage image = NewDocumentImage();
    const SinLoadResult loaded = LoadSinFile(path, image);
    if (!loaded.ok) {
        Error(loaded.error);
        return std::nullopt;
    }
    return image;
}

bool ParseCount(const std::string& text, int& out) {
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end || v < 0 || v > 1000) return false;
    out = static_cast<int>(v);
    return true;
}

const char* OutcomeText(CloneOutcome o) {
    switch (o) {
        case CloneOutcome::Completed: return "完成";
        case CloneOutcome::Cancelled: return "已取消";
        case CloneOutcome::PortUnavailable: return "无法打开串口";
        case CloneOutcome::NoLink: return "通讯错误";
        case CloneOutcome::TypeRefused: return "对讲机类型不同，未写入";
        case CloneOutcome::ShortReply: return "未收到足够字节";
        case CloneOutcome::ReadAckMissing:
        case CloneOutcome::WriteAckMissing: return "接收出错中断";
    }
    return "";
}

const char kNewUsage[] = "用法: ostreltz-cli new FILE.sin\n写入一个新文档的写频数据（全部频道为空，默认设置）。\n";
const char kDumpUsage[] = "用法: ostreltz-cli dump FILE.sin\n显示整机设置和每个使用中的频道。\n";
const char kReadUsage[] =
    "用法: ostreltz-cli read --port PORT --out FILE.sin [--retries N]\n"
    "从对讲机读频并保存。PORT 为 COM1..COM4（即 /dev/ttyUSB0..3）或设备路径。\n"
    "  --retries N   通讯错误后再试 N 轮握手（默认 0）\n"
    "读频失败时不创建也不改变输出文件。\n";
const char kWriteUsage[] =
    "用法: ostreltz-cli write --port PORT --in FILE.sin [--force] [--retries N]\n"
    "把写频数据写入对讲机。\n"
    "  --force       对讲机类型不同时仍然写入\n"
    "  --retries N   通讯错误后再试 N 轮握手（默认 0）\n";

const char kTuneUsage[] =
    "用法: ostreltz-cli tune --port PORT --item {txfreq,lowbat,squelch,power} --value N\n"
    "                        --rx MHZ --tx MHZ [--rx-tone TEXT] [--tx-tone TEXT] [--retries N]\n"
    "在线调试：把一个调试项目的数值（0..255）连同收发频率和信令送到对讲机。\n"
    "  --rx-tone, --tx-tone  CTCSS 信令，例如 88.5（默认 OFF；DCS 代码按 OFF 发送）\n"
    "  --retries N           出错后再试 N 次（默认 0）\n";

struct LinkArgs {
    std::string port, file;
    int retries = 0;
    bool force = false;
};

std::optional<LinkArgs> ReadLinkArgs(const Args& args, const char* fileOption, bool allowForce) {
    OptionReader r(args);
    LinkArgs la;
    auto port = r.Value("--port");
    auto file = r.Value(fileOption);
    auto retries = r.Value("--retries");
    if (allowForce) la.force = r.Flag("--force");
    auto rest = r.Rest();
    if (!port || !file || !rest || !rest->empty()) return std::nullopt;
    if (retries && !ParseCount(*retries, la.retries)) return std::nullopt;
    la.port = *port;
    la.file = *file;
    return la;
}

int Transfer(CloneDirection direction, const LinkArgs& la, const RadioImage& image, RadioImage* received) {
    QtSerialLink link;
    PreciseClock clock;
    CliInteraction ui(direction == CloneDirection::Read ? "读频" : "写频", la.force, la.retries);
    CloneEngine engine(link, clock, ui);
    CloneResult result = engine.Run(direction, la.port, image);
    if (result.outcome != CloneOutcome::Completed)
        return Error(std::string(OutcomeText(result.outcome)) + "（已完成 " + std::to_string(result.blocks) + " 块）");
    if (received) *received = result.image;
    return 0;
}

}  // namespace

int CmdTune(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(kTuneUsage, true);
    auto port = r.Value("--port");
    auto item = r.Value("--item");
    auto value = r.Value("--value");
    auto rx = r.Value("--rx");
    auto tx = r.Value("--tx");
    auto rxTone = r.Value("--rx-tone");
    auto txTone = r.Value("--tx-tone");
    auto retries = r.Value("--retries");
    auto rest = r.Rest();
    if (!port || !item || !value || !rx || !tx || !rest || !rest->empty()) return Usage(kTuneUsage, false);
    TuningRequest request;
    const std::pair<const char*, TuningItem> items[] = {{"txfreq", TuningItem::TxFrequency},
                                                        {"lowbat", TuningItem::LowBattery},
                                                        {"squelch", TuningItem::Squelch},
                                                        {"power", TuningItem::TxPower}};
    bool known = false;
    for (const auto& [name, it] : items)
        if (*item == name) {
            request.item = it;
            known = true;
        }
    int number = 0, retryCount = 0;
    if (!known || !ParseCount(*value, number) || number > 255) return Usage(kTuneUsage, false);
    if (retries && !ParseCount(*retries, retryCount)) return Usage(kTuneUsage, false);
    for (const std::string* f : {&*rx, &*tx}) {
        const std::uint32_t units = FrequencyTextToUnits(*f);
        if (units == 0 || units >= 100000000u) return Error("频率“" + *f + "”无效：应在 0 到 1000 MHz 之间。");
    }
    request.value = static_cast<std::uint8_t>(number);
    request.rxFrequency = UnitsToFrequencyText(FrequencyTextToUnits(*rx));
    request.txFrequency = UnitsToFrequencyText(FrequencyTextToUnits(*tx));
    request.rxTone = rxTone.value_or("OFF");
    request.txTone = txTone.value_or("OFF");
    QtSerialLink link;
    PreciseClock clock;
    CliInteraction ui("在线调试", false, retryCount);
    const TuningOutcome outcome = TuningEngine(link, clock, ui).Run(*port, request);
    return outcome == TuningOutcome::Received ? 0 : 1;
}

const char kPrintUsage[] =
    "用法: ostreltz-cli print FILE.sin --pdf OUT.pdf\n"
    "把写频数据的五页打印报表（整机设置和全部频道）输出为 PDF 文件，不需要窗口。\n";

int CmdPrint(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(kPrintUsage, true);
    auto pdf = r.Value("--pdf");
    auto rest = r.Rest();
    if (!pdf || !rest || rest->size() != 1) return Usage(kPrintUsage, false);
    const auto image = LoadImageFile(rest->front());
    if (!image) return 1;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(*pdf));
    PaintReport(&printer, ReportInputsFromImage(*image));
    if (printer.printerState() == QPrinter::Error) return Error("无法写入“" + *pdf + "”。");
    return 0;
}

const char kExportUsage[] =
    "用法: ostreltz-cli export-csv FILE.sin [-o OUT.csv] [--layout own|chirp]\n"
    "把使用中的频道导出为 UTF-8 CSV（第一行为列标题，频率单位 MHz）；不给 -o 时写到标准输出。\n"
    "--layout chirp 写成其他写频软件通用的 CHIRP CSV 格式；默认为本软件的列。\n";
const char kImportUsage[] =
    "用法: ostreltz-cli import-csv FILE.sin IN.csv [-o OUT.sin] [--apply-valid] [--renumber]\n"
    "从 CSV 读入频道表（按列标题找列，本软件的列或 CHIRP CSV 格式均可），写入 OUT.sin（默认覆盖 FILE.sin）。\n"
    "CSV 中没有的频道变为空。有被拒绝的行时列出行号和原因，不做任何修改；加 --apply-valid 则只写入有效的行。\n"
    "加 --renumber 则不管文件中的频道号，按文件顺序放入频道 1、2、3…\n";

int CmdExportCsv(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(kExportUsage, true);
    auto out = r.Value("-o");
    const std::string layout = r.Value("--layout").value_or("own");
    auto rest = r.Rest();
    if (!rest || rest->size() != 1 || (layout != "own" && layout != "chirp")) return Usage(kExportUsage, false);
    const auto image = LoadImageFile(rest->front());
    if (!image) return 1;
    const std::string csv = ExportChannelsCsv(*image, layout == "chirp" ? CsvLayout::Chirp : CsvLayout::Own);
    if (!out) {
        std::cout << csv;
        return 0;
    }
    std::ofstream file(*out, std::ios::binary);
    file << csv;
    file.close();
    if (!file) return Error("无法写入“" + *out + "”。");
    return 0;
}

int CmdImportCsv(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(kImportUsage, true);
    auto out = r.Value("-o");
    const bool applyValid = r.Flag("--apply-valid");
    const bool renumber = r.Flag("--renumber");
    auto rest = r.Rest();
    if (!rest || rest->size() != 2) return Usage(kImportUsage, false);
    auto image = LoadImageFile((*rest)[0]);
    if (!image) return 1;
    std::ifstream in((*rest)[1], std::ios::binary);
    if (!in) return Error("无法打开文件“" + (*rest)[1] + "”。");
    std::stringstream text;
    text << in.rdbuf();
    const CsvImport result = ImportChannelsCsv(text.str(), *image, CsvImportOptions{applyValid, renumber});
    for (const CsvProblem& p : result.problems) std::fprintf(stderr, "第 %d 行: %s\n", p.line, p.reason.c_str());
    if (!result.problems.empty() && !applyValid) return Error("有 " + std::to_string(result.problems.size()) + " 行被拒绝，没有做任何修改。");
    std::string error;
    if (!SaveSinFile(out.value_or((*rest)[0]), *image, &error)) return Error(error);
    std::fprintf(stderr, "%s\n", CsvImportSummary(result).c_str());
    return result.problems.empty() ? 0 : 1;
}

namespace {

struct CellEdit {
    int channel = 0;
    int column = 0;
    std::string value;
};

int ColumnOfCaption(const std::string& caption) {
    for (int c = col::kRxFreq; c <= col::kBusy; ++c)
        if (TrimBlanks(caption) == ColumnCaption(c)) return c;
    return 0;
}

// The edits in the order given; nothing when an argument is not understood.
std::optional<std::vector<CellEdit>> ReadCellEdits(const Args& args, std::string& file, std::optional<std::string>& out) {
    std::vector<CellEdit> edits;
    CellEdit next;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--channel" && hasValue) {
            if (!ParseCount(args[++i], next.channel)) return std::nullopt;
        } else if (a == "--column" && hasValue) {
            next.column = ColumnOfCaption(args[++i]);
            if (next.column == 0) return std::nullopt;
        } else if (a == "--value" && hasValue) {
            next.value = args[++i];
            if (next.channel == 0 || next.column == 0) return std::nullopt;
            edits.push_back(next);
        } else if (a == "-o" && hasValue) {
            out = args[++i];
        } else if (a.empty() || a[0] == '-' || !file.empty()) {
            return std::nullopt;
        } else {
            file = a;
        }
    }
    if (file.empty() || edits.empty()) return std::nullopt;
    return edits;
}

}  // namespace

int CmdSet(const Args& args) {
    if (OptionReader(args).Help()) return Usage(Tr(TextId::SetUsage), true);
    std::string file;
    std::optional<std::string> out;
    const auto edits = ReadCellEdits(args, file, out);
    if (!edits) return Usage(Tr(TextId::SetUsage), false);
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
    std::string error;
    if (!SaveSinFile(out.value_or(file), session.ImageForSave(), &error)) return Error(error);
    return 0;
}

int CmdNew(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(kNewUsage, true);
    auto rest = r.Rest();
    if (!rest || rest->size() != 1) return Usage(kNewUsage, false);
    std::string error;
    if (!SaveSinFile(rest->front(), NewDocumentImage(), &error)) return Error(error);
    return 0;
}

int CmdDump(const Args& args) {
    OptionReader r(args);
    if (r.Help()) return Usage(kDumpUsage, true);
    auto rest = r.Rest();
    if (!rest || rest->size() != 1) return Usage(kDumpUsage, false);
    const auto image = LoadImageFile(rest->front());
    if (!image) return 1;
    std::fputs(DumpImage(*image).c_str(), stdout);
    return 0;
}

int CmdRead(const Args& args) {
    if (OptionReader(args).Help()) return Usage(kReadUsage, true);
    auto la = ReadLinkArgs(args, "--out", false);
    if (!la) return Usage(kReadUsage, false);
    RadioImage received{};
    if (int rc = Transfer(CloneDirection::Read, *la, NewDocumentImage(), &received)) return rc;
    std::string error;
    if (!SaveSinFile(la->file, received, &error)) return Error(error);
    return 0;
}

int CmdWrite(const Args& args) {
    if (OptionReader(args).Help()) return Usage(kWriteUsage, true);
    auto la = ReadLinkArgs(args, "--in", true);
    if (!la) return Usage(kWriteUsage, false);
    RadioImage image = NewDocumentImage();
    SinLoadResult loaded = LoadSinFile(la->file, image);
    if (!loaded.ok) return Error(loaded.error);
    if (loaded.empty) return Error("文件“" + la->file + "”是空的，没有可写入的数据。");
    return Transfer(CloneDirection::Write, *la, image, nullptr);
}
