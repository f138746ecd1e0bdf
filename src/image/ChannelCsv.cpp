#include "image/ChannelCsv.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "app/ToneTable.h"
#include "editor/CellRules.h"
#include "image/ChannelTable.h"

namespace {

const std::array<const char*, 11> kCaptions = {"频道", "接收频率", "发射频率", "接收信令", "发射信令", "宽/窄",
                                               "扫描添加", "发射功率", "可选信令", "PTTID", "繁忙锁定"};
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

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Splits CSV text into records of fields; quoted fields may hold commas,
// quotes and line breaks.
std::vector<std::vector<std::string>> ParseCsv(const std::string& text) {
    std::vector<std::vector<std::string>> records(1);
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                field += '"';
                ++i;
            } else if (c == '"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            records.back().push_back(field);
            field.clear();
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            records.back().push_back(field);
            field.clear();
            records.emplace_back();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !records.back().empty()) records.back().push_back(field);
    if (records.back().empty()) records.pop_back();
    return records;
}

bool InList(const std::vector<std::string>& entries, const std::string& text) {
    return std::find(entries.begin(), entries.end(), text) != entries.end();
}

// Checks one line's texts the way typing them into the grid would, and
// returns the reason for refusing it, if any.
std::optional<std::string> CheckLine(const ChannelTexts& t) {
    if (t[0].empty() && t[1].empty()) return "没有接收频率和发射频率";
    const BandLimits anyBand{kLowestUnits, kHighestUnits};
    for (int c = 0; c < 2; ++c) {
        if (t[static_cast<std::size_t>(c)].empty()) continue;
        const FrequencyCheck check = CheckFrequencyText(t[static_cast<std::size_t>(c)], anyBand);
        if (!check.accepted) return std::string(kCaptions[static_cast<std::size_t>(c + 1)]) + "“" + t[static_cast<std::size_t>(c)] +
                                    "”：" + FrequencyMessageText(check.messages.front());
    }
    for (int c = 2; c < 4; ++c) {
        const std::string& tone = t[static_cast<std::size_t>(c)];
        if (!InList(ToneTable::Instance().Texts(), tone))
            return std::string(kCaptions[static_cast<std::size_t>(c + 1)]) + "“" + tone + "”不是信令代码";
    }
    for (int col = 5; col <= 10; ++col) {
        const std::string& text = t[static_cast<std::size_t>(col - 1)];
        if (!InList(ListEntries(col), text))
            return std::string(kCaptions[static_cast<std::size_t>(col)]) + "“" + text + "”不是可选的值";
    }
    return std::nullopt;
}

}  // namespace

std::string ExportChannelsCsv(const RadioImage& image) {
    std::string out = kBom;
    for (std::size_t c = 0; c < kCaptions.size(); ++c) out += (c ? "," : "") + std::string(kCaptions[c]);
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

CsvImport ImportChannelsCsv(const std::string& csvText, RadioImage& image, bool applyValidLines) {
    CsvImport result;
    const std::string csv = csvText.rfind(kBom, 0) == 0 ? csvText.substr(kBom.size()) : csvText;
    const auto records = ParseCsv(csv);
    if (records.empty()) {
        result.problems.push_back({1, "文件是空的"});
        return result;
    }
    std::array<int, 11> column{};
    column.fill(-1);
    for (std::size_t i = 0; i < records[0].size(); ++i)
        for (std::size_t c = 0; c < kCaptions.size(); ++c)
            if (Trim(records[0][i]) == kCaptions[c]) column[c] = static_cast<int>(i);
    for (std::size_t c = 0; c < kCaptions.size(); ++c)
        if (column[c] < 0) result.problems.push_back({1, std::string("缺少列“") + kCaptions[c] + "”"});
    if (!result.problems.empty()) return result;

    std::map<int, ChannelTexts> channels;
    for (std::size_t r = 1; r < records.size(); ++r) {
        const int line = static_cast<int>(r) + 1;
        const auto& fields = records[r];
        if (fields.size() == 1 && Trim(fields[0]).empty()) continue;
        auto field = [&](std::size_t c) {
            const auto at = static_cast<std::size_t>(column[c]);
            return at < fields.size() ? Trim(fields[at]) : std::string();
        };
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
        for (std::size_t c = 1; c < kCaptions.size(); ++c) texts[c - 1] = field(c);
        for (int c = 0; c < 2; ++c) {
            std::string& f = texts[static_cast<std::size_t>(c)];
            if (!f.empty()) f = CheckFrequencyText(f, BandLimits{kLowestUnits, kHighestUnits}).text;
        }
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
        EncodeChannelRecord(it == channels.end() ? ChannelTexts{} : it->second, record);
        std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)));
    }
    result.channels = static_cast<int>(channels.size());
    return result;
}
