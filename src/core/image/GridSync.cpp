#include <algorithm>

#include "image/ChannelTable.h"

std::string ColumnCaption(int column) { return ColumnCaptionIn(column, CurrentLanguage()); }

std::string ColumnCaptionIn(int column, Lang lang) {
    static const TextId kCaptions[col::kCount] = {TextId::ColChannel, TextId::ColRxFreq, TextId::ColTxFreq,
                                                  TextId::ColRxTone,  TextId::ColTxTone, TextId::ColWidth,
                                                  TextId::ColScan,    TextId::ColPower,  TextId::ColSignal,
                                                  TextId::ColPttId,   TextId::ColBusy};
    return Tr(kCaptions[std::clamp(column, 0, col::kCount - 1)], lang);
}

std::string GridCaptionIn(int column, Lang lang) {
    if (column == col::kWidth) return Tr(TextId::GridColWidth, lang);
    if (column == col::kSignal) return Tr(TextId::GridColSignal, lang);
    return ColumnCaptionIn(column, lang);
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) { return lower(x) == lower(y); });
}

int ColumnOfCaption(std::string_view caption) {
    // "RX Freq" names the column "RX freq" as well.
    for (int c = 0; c < col::kCount; ++c)
        if (caption == ColumnCaptionIn(c, Lang::Zh) || EqualNoCase(caption, ColumnCaptionIn(c, Lang::En))) return c;
    return -1;
}

void RelabelTable(IChannelTable& table, Lang lang) {
    for (int row = 1; row <= kChannelCount; ++row)
        for (int c = col::kWidth; c <= col::kBusy; ++c) {
            const std::string text = table.CellText(row, c);
            const std::string shown = CellTextIn(c, text, lang);
            if (shown != text) table.SetCellText(row, c, shown);
        }
}

ChannelTexts RowTexts(const IChannelTable& table, int row) {
    ChannelTexts texts;
    for (int c = 1; c <= 10; ++c) texts[static_cast<std::size_t>(c - 1)] = table.CellText(row, c);
    return texts;
}

ChannelRecord RecordAt(const RadioImage& image, int channel) {
    ChannelRecord record;
    std::copy_n(image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(channel)), kRecordSize, record.begin());
    return record;
}

void EncodeChangedRecord(const ChannelTexts& texts, ChannelRecord& record) {
    if (texts[col::kRxFreq - 1].empty() && texts[col::kTxFreq - 1].empty()) {
        // No channel: the record is written whole, its flags as the empty
        // cells it will show when read back, so a later save keeps it as it is.
        ChannelTexts shown = texts;
        std::fill(shown.begin() + (col::kWidth - 1), shown.end(), std::string());
        EncodeChannelRecord(shown, record);
        return;
    }
    if (!ChannelInUse(record)) {
        EncodeChannelRecord(texts, record);
        return;
    }
    // Compared in one language: a field keeps its bits whichever language
    // its text was shown in.
    EncodeChangedFields(DecodeChannelRecord(record, Lang::Zh), TextsIn(texts, Lang::Zh), record);
}

void UpdateGridFromImage(const RadioImage& image, IChannelTable& table) {
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelTexts texts = DecodeChannelRecord(RecordAt(image, n));
        for (int c = 1; c <= 10; ++c) table.SetCellText(n, c, texts[static_cast<std::size_t>(c - 1)]);
    }
    const FormSelections s = DecodeFormSelections(image);
    table.SetSelection(FormBox::Band, s.band);
    table.SetSelection(FormBox::Model, s.model);
    table.SetSelection(FormBox::Manual, s.manual);
    table.SetSelection(FormBox::PowerLevel, s.powerLevel);
}

void UpdateImageFromGrid(const IChannelTable& table, RadioImage& image) {
    for (int n = 1; n <= kChannelCount; ++n) {
        ChannelRecord record = RecordAt(image, n);
        EncodeChangedRecord(RowTexts(table, n), record);
        std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)));
    }
    FormSelections s;
    s.band = table.Selection(FormBox::Band);
    s.model = table.Selection(FormBox::Model);
    s.manual = table.Selection(FormBox::Manual);
    s.powerLevel = table.Selection(FormBox::PowerLevel);
    EncodeFormSelections(s, image);
}
