#include "editor/ChannelClipboard.h"

#include <algorithm>
#include <optional>

#include "editor/CellRules.h"
#include "res/CappedList.h"
#include "res/Texts.h"

namespace {

std::vector<std::vector<std::string>> ParseTsv(const std::string& tsv) {
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    while (start < tsv.size()) {
        std::size_t end = tsv.find('\n', start);
        if (end == std::string::npos) end = tsv.size();
        std::string line = tsv.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> cells;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            cells.push_back(line.substr(from, tab - from));
        cells.push_back(line.substr(from));
        rows.push_back(std::move(cells));
        start = end + 1;
    }
    return rows;
}

}  // namespace

std::optional<std::string> PasteCell(IChannelTable& t, int row, int column, const std::string& text,
                                     const BandLimits& band, bool* outOfBand) {
    if (row < 1 || column < 1 || row > kChannelCount || column >= col::kCount) return Tr(TextId::CellOutsideTable);
    if (column == col::kRxFreq || column == col::kTxFreq) {
        const FrequencyCheck check = CheckFrequencyText(text, band);
        if (!check.accepted) return FrequencyMessageText(check.messages.back());
        ApplyFrequencyEdit(t, row, column, check.text, false);
        if (outOfBand)
            *outOfBand = std::find(check.messages.begin(), check.messages.end(), FrequencyMessage::OutOfBand) !=
                         check.messages.end();
        return std::nullopt;
    }
    if (text.empty()) {
        // An empty tone belongs to a direction without a frequency; the lists
        // are empty only on a channel without frequencies.
        if (!IsToneColumn(column) && column != col::kSignal && RowHasFrequency(t, row))
            return Tr(TextId::CellMayNotBeEmpty);
        t.SetCellText(row, column, "");
        return std::nullopt;
    }
    if (!RowHasFrequency(t, row)) return Tr(TextId::ChannelWithoutFrequency);
    if (auto refusal = CellTextRefusal(column, text)) return refusal;
    t.SetCellText(row, column, StoredCellText(column, text));
    return std::nullopt;
}

std::string CopyCellsTsv(const IChannelTable& table, const CellRange& range) {
    std::string out;
    for (int r = range.top; r <= range.bottom; ++r) {
        for (int c = range.left; c <= range.right; ++c) {
            if (c > range.left) out += '\t';
            out += table.CellText(r, c);
        }
        out += '\n';
    }
    return out;
}

PasteResult PasteCellsTsv(IChannelTable& table, int row, int column, const std::string& tsv, const BandLimits& band) {
    PasteResult result;
    const auto rows = ParseTsv(tsv);
    int columns = 1;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        columns = std::max(columns, static_cast<int>(rows[r].size()));
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const int atRow = row + static_cast<int>(r);
            const int atColumn = column + static_cast<int>(c);
            bool outOfBand = false;
            if (auto reason = PasteCell(table, atRow, atColumn, TrimBlanks(rows[r][c]), band, &outOfBand))
                result.refused.push_back({atRow, atColumn, *reason});
            else if (outOfBand)
                result.outOfBand.push_back({atRow, atColumn, table.CellText(atRow, atColumn)});
        }
    }
    result.block = {row, column, std::min(row + std::max(static_cast<int>(rows.size()), 1) - 1, kChannelCount),
                    std::min(column + columns - 1, col::kCount - 1)};
    return result;
}

std::string FillSelectionTsv(const std::string& tsv, int rows, int columns) {
    std::string cell = tsv;
    if (!cell.empty() && cell.back() == '\n') cell.pop_back();
    if (!cell.empty() && cell.back() == '\r') cell.pop_back();
    if (cell.find_first_of("\t\r\n") != std::string::npos || (rows <= 1 && columns <= 1)) return tsv;
    std::string line;
    for (int c = 0; c < columns; ++c) line += (c ? "\t" : "") + cell;
    std::string out;
    for (int r = 0; r < rows; ++r) out += line + "\n";
    return out;
}

void ClearCells(IChannelTable& table, const CellRange& range) {
    for (int r = range.top; r <= range.bottom; ++r)
        for (int c = range.left; c <= range.right; ++c) {
            if (c == col::kRxFreq || c == col::kTxFreq)
                ApplyFrequencyEdit(table, r, c, "", true);
            else
                table.SetCellText(r, c, RowHasFrequency(table, r) ? NewChannelDefault(c) : "");
        }
}

std::string RefusedCellsSummary(const std::vector<RefusedCell>& refused, std::size_t shown) {
    std::string text = TrFormat(TextId::CellsNotPasted, {std::to_string(refused.size())});
    std::size_t listed = 0;
    std::size_t outside = 0;
    for (const RefusedCell& cell : refused) {
        if (cell.row > kChannelCount || cell.column >= col::kCount) {
            ++outside;
        } else if (listed++ < shown) {
            text += TrFormat(TextId::RefusedCell, {std::to_string(cell.row), ColumnCaption(cell.column), cell.reason});
        }
    }
    if (listed > shown) text += TrFormat(TextId::ListMore, {std::to_string(listed - shown)}) + "\n";
    // Cells past the table are one line, however many there are.
    if (outside > 0) text += TrFormat(TextId::CellsPastTable, {std::to_string(outside)});
    return text;
}

std::vector<CellNotice> PasteNotices(const PasteResult& pasted) {
    std::vector<CellNotice> notices;
    if (!pasted.refused.empty()) notices.push_back({RefusedCellsSummary(pasted.refused), "", NoticeSeverity::Warning});
    if (!pasted.outOfBand.empty()) {
        std::vector<std::string> lines;
        for (const RefusedCell& cell : pasted.outOfBand) {
            std::string line =
                TrFormat(TextId::RefusedCell, {std::to_string(cell.row), ColumnCaption(cell.column), cell.reason});
            line.pop_back();  // the line end CappedLines puts back
            lines.push_back(std::move(line));
        }
        notices.push_back({Tr(TextId::FrequencyOutOfBand) + std::string("\n") + CappedLines(lines),
                           Tr(TextId::OutOfBandCaption), NoticeSeverity::Information});
    }
    return notices;
}
