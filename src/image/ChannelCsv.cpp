#include "image/ChannelCsv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "editor/CellRules.h"
#include "image/ChannelTable.h"
#include "image/CsvReader.h"

namespace {

const std::string kBom = "\xEF\xBB\xBF";

std::string Quote(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
    std::string out = "\"";
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Checks one line's texts the way typing them into the grid would, and
// returns the reason for refusing it, if any.
std::optional<std::string> CheckLine(const ChannelTexts& t) {
    if (t[0].empty() && t[1].empty()) return "没有接收频率和发射频率";
    const BandLimits anyBand{kLowestUnits, kHighestUnits};
    for (int c = 0; c < 2; ++c) {
        if (t[static_cast<std::size_t>(c)].empty()) continue;
        const FrequencyCheck check = CheckFrequencyText(t[static_cast<std::size_t>(c)], anyBand);
        if (!check.accepted) return ColumnCaption(c + 1) + "“" + t[static_cast<std::size_t>(c)] +
                                    "”：" + FrequencyMessageText(check.messages.front());
    }
    for (int column = col::kRxTone; column <= col::kBusy; ++column)
        if (auto refusal = CellTextRefusal(column, t[static_cast<std::size_t>(column - 1)]))
            return ColumnCaption(column) + *refusal;
    return std::nullopt;
}

}  // namespace

std::string ExportChannelsCsv(const RadioImage& image) {
    std::string out = kBom;
    for (int c = 0; c < col::kCount; ++c) out += (c ? "," : "") + ColumnCaption(c);
    out += "\r\n";
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord record = RecordAt(image, n);
        if (!ChannelInUse(record)) continue;
        out += std::to_string(n);
        for (const std::string& text : DecodeChannelRecord(record)) out += "," + Quote(text);
        out += "\r\n";
    }
    return out;
}

CsvImport ImportChannelsCsv(const std::string& csv, RadioImage& image, bool applyValidLines) {
    CsvImport result;
    const std::vector<CsvRecord> records = ReadCsvRecords(csv);
    if (records.empty()) {
        result.problems.push_back({1, "文件是空的"});
        return result;
    }
    const CsvRecord& header = records.front();
    std::array<int, col::kCount> column{};
    for (int c = 0; c < col::kCount; ++c) {
        column[static_cast<std::size_t>(c)] = CsvColumnIndex(header, ColumnCaption(c));
        if (column[static_cast<std::size_t>(c)] < 0)
            result.problems.push_back({header.line, "缺少列“" + ColumnCaption(c) + "”"});
    }
    if (!result.problems.empty()) return result;

    std::map<int, ChannelTexts> channels;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const int line = records[r].line;
        auto field = [&](std::size_t c) { return CsvField(records[r], column[c]); };
        const std::string number = field(0);
        const int n = std::all_of(number.begin(), number.end(), [](char ch) { return ch >= '0' && ch <= '9'; }) &&
                              !number.empty() && number.size() <= 3
                          ? std::stoi(number)
                          : 0;
        if (n < 1 || n > kChannelCount) {
            result.problems.push_back({line, "频道“" + number + "”应为 1 到 128"});
            continue;
        }
        if (channels.count(n)) {
            result.problems.push_back({line, "频道 " + number + " 重复"});
            continue;
        }
        ChannelTexts texts;
        for (std::size_t c = 1; c < static_cast<std::size_t>(col::kCount); ++c) texts[c - 1] = field(c);
        for (int c = 0; c < 2; ++c) {
            std::string& f = texts[static_cast<std::size_t>(c)];
            if (!f.empty()) f = CheckFrequencyText(f, BandLimits{kLowestUnits, kHighestUnits}).text;
        }
        for (int c = col::kRxTone; c <= col::kTxTone; ++c)
            texts[static_cast<std::size_t>(c - 1)] = StoredCellText(c, texts[static_cast<std::size_t>(c - 1)]);
        if (auto problem = CheckLine(texts)) {
            result.problems.push_back({line, *problem});
            continue;
        }
        channels[n] = texts;
    }
    if (!result.problems.empty() && !applyValidLines) return result;
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord record = RecordAt(image, n);
        const auto it = channels.find(n);
        EncodeChangedRecord(it == channels.end() ? ChannelTexts{} : it->second, record);
        std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)));
    }
    result.channels = static_cast<int>(channels.size());
    return result;
}
