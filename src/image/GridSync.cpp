#include <algorithm>

#include "image/ChannelTable.h"

std::string ColumnCaption(int column) {
    static const char* const kCaptions[col::kCount] = {"频道",     "接收频率", "发射频率", "接收信令", "发射信令", "宽/窄",
                                                      "扫描添加", "发射功率", "可选信令", "PTTID",    "繁忙锁定"};
    return kCaptions[std::clamp(column, 0, col::kCount - 1)];
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
    if (ChannelInUse(record) && DecodeChannelRecord(record) == texts) return;
    EncodeChannelRecord(texts, record);
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
