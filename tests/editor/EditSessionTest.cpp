#include <gtest/gtest.h>

#include <algorithm>

#include "editor/EditSession.h"
#include "csv/ChannelCsv.h"
#include "support/LanguageScope.h"
#include "support/RandomImage.h"

namespace {

using Texts = std::vector<std::string>;

Texts Row(const EditSession& s, int row) {
    Texts texts;
    for (int c = 1; c <= 10; ++c) texts.push_back(s.Text(row, c));
    return texts;
}

const Texts kNewChannel{"145.12500", "145.12500", "OFF", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"};

// A session on band 1 (136-174 MHz) with channel 1 at 145.125 MHz, saved.
EditSession SessionWithChannel() {
    EditSession s;
    s.SetSelection(FormBox::Band, 1);
    s.SetCell(1, 1, "145.125", CellEntry::Enter);
    s.MarkSaved();
    return s;
}

ChannelRecord Record(const RadioImage& image, int channel) { return RecordAt(image, channel); }

void PutRecord(RadioImage& image, int channel, const ChannelRecord& record) {
    std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(channel)));
}

// A new document whose channel 1 holds `record`.
RadioImage ImageWithChannel1(const ChannelRecord& record) {
    RadioImage image = NewDocumentImage();
    PutRecord(image, 1, record);
    return image;
}

bool SameChannelArea(const RadioImage& a, const RadioImage& b) {
    return std::equal(a.begin(), a.begin() + kChannelCount * static_cast<int>(kRecordSize), b.begin());
}

// Records a save must keep although their texts do not tell every value:
// optional signalling 1, busy lockout 6, bits the codec leaves alone, and
// tone codes outside the tone table.
RadioImage ImageWithUnusualChannels() {
    RadioImage image = NewDocumentImage();
    PutRecord(image, 1,
              {0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0x05, 0x80, 0x98, 0x45, 0x01, 0xDE, 0xF3, 0x5A});
    PutRecord(image, 2,
              {0x00, 0x00, 0x60, 0x14, 0x00, 0x00, 0x60, 0x14, 0xFF, 0xFF, 0x23, 0xC0, 0x03, 0x47, 0x00, 0x00});
    PutRecord(image, 4,
              {0x50, 0x12, 0x60, 0x43, 0x50, 0x12, 0x60, 0x43, 0x05, 0x81, 0x70, 0x06, 0x04, 0x3F, 0xFE, 0x11});
    // As a save leaves it: the empty rows encoded as empty rows.
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    UpdateImageFromGrid(table, image);
    return image;
}

}  // namespace

TEST(EditSessionCell, NewChannelByEnterAndByLeaving) {
    EditSession s;
    s.SetSelection(FormBox::Band, 1);
    EditResult r = s.SetCell(1, 1, "145.125", CellEntry::Enter);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ((std::pair{r.firstRow, r.lastRow}), (std::pair{1, 1}));
    EXPECT_EQ(Row(s, 1), kNewChannel);
    // A transmit frequency first: the defaults, but no receive frequency.
    s.SetCell(2, 2, "146", CellEntry::Leave);
    EXPECT_EQ(Row(s, 2), (Texts{"", "146.00000", "OFF", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
    // Typing the text a cell already shows is no change and no undo step.
    r = s.SetCell(1, 1, "145.12500", CellEntry::Leave);
    EXPECT_FALSE(r.changed);
    EXPECT_EQ((std::pair{r.firstRow, r.lastRow}), (std::pair{0, 0}));
}

TEST(EditSessionCell, FrequencyChecksAndTheirMessages) {
    EditSession s = SessionWithChannel();
    auto refusedWith = [&](const std::string& typed, FrequencyMessage message) {
        const EditResult r = s.SetCell(1, 1, typed, CellEntry::Leave);
        EXPECT_TRUE(r.refused) << typed;
        EXPECT_FALSE(r.changed) << typed;
        EXPECT_EQ(r.messages, std::vector<FrequencyMessage>{message}) << typed;
        EXPECT_EQ(s.Text(1, 1), "145.12500") << typed << ": a refused text leaves the cell as it was";
    };
    // Near misses of the steps: 145.0075 is a multiple of 2.5 kHz, but of
    // neither 5 nor 6.25 kHz; 145.00125 is half a 2.5 kHz step.
    for (const char* typed : {"145.0075", "145.1234", "145.00125", "145.0025", "145.0175"})
        refusedWith(typed, FrequencyMessage::Step);
    // Anything but blanks after the number: a comma is no decimal point.
    for (const char* typed : {"145,125", "145.125MHz", "145.125.5", "145 125", "abc", "-145", "66.99999", "521.00001"})
        refusedWith(typed, FrequencyMessage::FormatAndSize);

    for (const char* accepted : {"145.0125", "145.005", "145.01875", " 145.025 ", "1.45e2"}) {
        const EditResult r = s.SetCell(1, 1, accepted, CellEntry::Leave);
        EXPECT_FALSE(r.refused) << accepted;
        EXPECT_TRUE(r.messages.empty()) << accepted;
    }
    EXPECT_EQ(s.Text(1, 1), "145.00000");
    // Outside the chosen band: a warning, and the text is stored.
    const EditResult r = s.SetCell(1, 1, "440.125", CellEntry::Leave);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.messages, std::vector<FrequencyMessage>{FrequencyMessage::OutOfBand});
    EXPECT_EQ(s.Text(1, 1), "440.12500");
}

TEST(EditSessionCell, EmptyingAFrequencyEmptiesItsDirection) {
    EditSession s = SessionWithChannel();
    s.SetCell(1, 1, "", CellEntry::Leave);
    EXPECT_EQ(Row(s, 1), (Texts{"", "145.12500", "", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
    s.SetCell(1, 2, "", CellEntry::Leave);
    EXPECT_EQ(Row(s, 1), Texts(10, ""));
}

TEST(EditSessionCell, TonesAndLists) {
    EditSession s = SessionWithChannel();
    s.SetCell(1, 3, "d023n", CellEntry::Enter);
    EXPECT_EQ(s.Text(1, 3), "D023N");
    s.SetCell(1, 4, "88.5", CellEntry::Leave);
    // A slip is refused, not taken as OFF, and the cell keeps its tone,
    // whichever way the editor was left; nothing typed means OFF.
    for (CellEntry entry : {CellEntry::Leave, CellEntry::Enter}) {
        const EditResult slip = s.SetCell(1, 4, "88.6", entry);
        EXPECT_TRUE(slip.refused);
        EXPECT_EQ(slip.refusal, "“88.6”不是信令代码");
        EXPECT_EQ(s.Text(1, 4), "88.5");
    }
    EXPECT_TRUE(s.SetCell(1, 4, "", CellEntry::Enter).changed);
    EXPECT_EQ(s.Text(1, 4), "OFF");
    s.SetCell(1, 10, "QT/DQT", CellEntry::Leave);
    EXPECT_EQ(s.Text(1, 10), "QT/DQT");
    // No tone or flag on a channel without frequencies.
    EXPECT_FALSE(s.SetCell(5, 3, "67.0", CellEntry::Leave).changed);
    EXPECT_FALSE(s.SetCell(5, 5, "宽", CellEntry::Enter).changed);
    EXPECT_EQ(Row(s, 5), Texts(10, ""));
    // A code outside the tone table stays while the editor still shows it.
    RadioImage image = s.ImageForSave();
    image[ChannelOffset(1) + 9] = 0x80;
    image[ChannelOffset(1) + 8] = 0x05;
    s.Load(image);
    ASSERT_EQ(s.Text(1, 3), "D05N");
    EXPECT_FALSE(s.SetCell(1, 3, "d05n", CellEntry::Enter).changed);
    EXPECT_EQ(s.Text(1, 3), "D05N");
}

TEST(EditSessionCell, ExactEntryRefusesWhatTheColumnDoesNotHold) {
    EditSession s = SessionWithChannel();
    EditResult r = s.SetCell(1, 3, "xyz", CellEntry::Exact);
    EXPECT_TRUE(r.refused);
    EXPECT_EQ(r.refusal, "“xyz”不是信令代码");
    EXPECT_EQ(s.Text(1, 3), "OFF");
    EXPECT_EQ(s.SetCell(1, 5, "很宽", CellEntry::Exact).refusal, "“很宽”不是可选的值");
    EXPECT_EQ(s.SetCell(2, 7, "低", CellEntry::Exact).refusal, "该频道没有频率");
    EXPECT_EQ(s.SetCell(129, 1, "145", CellEntry::Exact).refusal, "超出频道表");
    EXPECT_EQ(s.SetCell(1, 11, "x", CellEntry::Exact).refusal, "超出频道表");
    // A tone must be an entry of the tone list, as the tone editor offers it.
    EXPECT_EQ(s.SetCell(1, 3, "459.8", CellEntry::Exact).refusal, "“459.8”不是信令代码");
    EXPECT_TRUE(s.SetCell(1, 3, "88.5", CellEntry::Exact).changed);
    EXPECT_EQ(s.Text(1, 3), "88.5");
    EXPECT_TRUE(s.SetCell(1, 7, "低", CellEntry::Exact).changed);
    EXPECT_FALSE(s.SetCell(1, 7, "低", CellEntry::Exact).changed);
}

TEST(EditSessionSave, UntouchedChannelsKeepTheirBytes) {
    const RadioImage original = ImageWithUnusualChannels();
    EditSession s;
    s.Load(original);
    EXPECT_EQ(s.Text(1, 8), "");
    EXPECT_EQ(s.Text(1, 3), "D05N");
    EXPECT_TRUE(SameChannelArea(s.ImageForSave(), original));

    // Editing channel 3 changes only channel 3's record (and the empty rows
    // are encoded as empty rows always are).
    s.SetSelection(FormBox::Band, 1);
    s.SetCell(3, 1, "150", CellEntry::Leave);
    const RadioImage saved = s.ImageForSave();
    for (int n : {1, 2, 4}) EXPECT_EQ(Record(saved, n), Record(original, n)) << n;
    EXPECT_NE(Record(saved, 3), Record(original, 3));
    EXPECT_EQ(DecodeChannelRecord(Record(saved, 3))[0], "150.00000");

    // An edited channel keeps every field the edit did not change: busy
    // lockout mode 6 of channel 1, which reads "关闭", and its optional
    // signalling 1 stay; only the width bit changes.
    s.SetCell(1, 5, "窄", CellEntry::Leave);
    ChannelRecord narrowed = Record(original, 1);
    narrowed[13] = static_cast<std::uint8_t>(narrowed[13] & ~0x10);
    EXPECT_EQ(Record(s.ImageForSave(), 1), narrowed);
    // Editing it back to what was decoded keeps the bytes again.
    s.SetCell(1, 5, "宽", CellEntry::Leave);
    EXPECT_EQ(Record(s.ImageForSave(), 1), Record(original, 1));
}

TEST(EditSessionSave, AChannelEmptiedIsSavedAsItWillBeReadBack) {
    const RadioImage original = ImageWithUnusualChannels();
    // Each way of emptying channel 1 (145.125 MHz, a tone each way, an
    // optional signalling of 1) leaves a record that a later save, after reading it back, keeps as it is.
    for (const CellEntry entry : {CellEntry::Leave, CellEntry::Enter, CellEntry::Exact}) {
        EditSession s;
        s.Load(original);
        s.SetCell(1, 1, "", entry);
        s.SetCell(1, 2, "", entry);
        const RadioImage saved = s.ImageForSave();
        EditSession reopened;
        reopened.Load(saved);
        EXPECT_EQ(Record(reopened.ImageForSave(), 1), Record(saved, 1));
        EXPECT_FALSE(ChannelInUse(Record(saved, 1)));
    }
    // A tone left behind stays; the flags read back empty, as written.
    EditSession s;
    s.Load(original);
    s.SetCell(1, 1, "", CellEntry::Leave);
    s.SetCell(1, 3, "D023N", CellEntry::Exact);
    s.SetCell(1, 2, "", CellEntry::Enter);
    const RadioImage saved = s.ImageForSave();
    EditSession reopened;
    reopened.Load(saved);
    EXPECT_EQ(Row(reopened, 1), (Texts{"", "", "D023N", "", "", "", "", "", "", ""}));
    EXPECT_EQ(Record(reopened.ImageForSave(), 1), Record(saved, 1));
}

TEST(EditSessionCells, AFrequencyInARowWithATone) {
    // A record the radio emptied by its frequencies alone: its tones show.
    EditSession s;
    s.Load(ImageWithChannel1(
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x70, 0x06, 0x23, 0x80, 0x02, 0x3E, 0x01, 0x5A}));
    s.SetSelection(FormBox::Band, 1);
    EXPECT_EQ(Row(s, 1), (Texts{"", "", "67.0", "D023N", "", "", "", "", "", ""}));
    // The channel it becomes keeps the tones and gets every other default:
    // no cell of a channel in use is left empty.
    s.SetCell(1, 1, "145.125", CellEntry::Enter);
    EXPECT_EQ(Row(s, 1), (Texts{"145.12500", "145.12500", "67.0", "D023N", "宽", "是", "高", "DTMF", "开", "关闭"}));
    const ChannelTexts saved = DecodeChannelRecord(Record(s.ImageForSave(), 1));
    EXPECT_EQ(Texts(saved.begin(), saved.end()), Row(s, 1));
}

// The bits each of columns 1-10 is stored in: {byte, mask}.
const std::vector<std::pair<std::size_t, std::uint8_t>> kFieldBits[] = {
    {{0, 0xFF}, {1, 0xFF}, {2, 0xFF}, {3, 0xFF}},
    {{4, 0xFF}, {5, 0xFF}, {6, 0xFF}, {7, 0xFF}},
    {{8, 0xFF}, {9, 0xFF}},
    {{10, 0xFF}, {11, 0xFF}},
    {{13, 0x10}},
    {{13, 0x08}},
    {{13, 0x20}},
    {{12, 0xFF}},
    {{14, 0x01}},
    {{13, 0x07}},
};

// `after` differs from `before` in no bit outside the field of `column`.
::testing::AssertionResult OnlyFieldChanged(const ChannelRecord& before, const ChannelRecord& after, int column) {
    ChannelRecord mask{};
    for (const auto& [byte, bits] : kFieldBits[column - 1]) mask[byte] = bits;
    for (std::size_t i = 0; i < before.size(); ++i)
        if ((before[i] ^ after[i]) & ~mask[i])
            return ::testing::AssertionFailure() << "byte " << i << " changed outside column " << column;
    return ::testing::AssertionSuccess();
}

// What `set` does: one cell of a channel in use, on images of any bytes,
// changes that field's bits and nothing else in the channel area.
TEST(EditSessionSave, SettingOneFieldChangesOnlyItsBits) {
    const std::vector<std::vector<std::string>> values = {
        {"146.52", "438.5"},
        {"146.55", "439.0125"},
        {"88.5", "D023N", "OFF"},
        {"100.0", "D754I", "OFF"},
        {"宽", "窄"},
        {"是", "否"},
        {"高", "低"},
        {"无", "DTMF", "队列同步"},
        {"开", "关"},
        {"关闭", "载波", "QT/DQT"},
    };
    int checked = 0;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const RadioImage image = RandomImage(seed);
        for (int n = 1; n <= kChannelCount; n += 3) {
            if (!ChannelInUse(Record(image, n))) continue;
            const int column = 1 + static_cast<int>((seed * 7 + static_cast<unsigned>(n)) % 10);
            EditSession s;
            s.Load(image);
            s.SetSelection(FormBox::Band, 0);
            const RadioImage before = s.ImageForSave();
            const auto& choices = values[static_cast<std::size_t>(column - 1)];
            const std::string value = choices[static_cast<std::size_t>(n) % choices.size()];
            const EditResult result = s.SetCell(n, column, value, CellEntry::Exact);
            ASSERT_FALSE(result.refused) << n << " " << column << " " << value << " " << result.refusal;
            const RadioImage after = s.ImageForSave();
            for (int other = 1; other <= kChannelCount; ++other)
                if (other != n) {
                    ASSERT_EQ(Record(after, other), Record(before, other)) << other;
                }
            EXPECT_TRUE(OnlyFieldChanged(Record(before, n), Record(after, n), column))
                << seed << " " << n << " " << value;
            ++checked;
        }
    }
    EXPECT_GT(checked, 300);
}

// A tone word outside the table that the grid shows as "826.2" stays when
// another field of its channel is edited, although its text encodes to D262N.
TEST(EditSessionSave, AToneWordOutsideTheTableSurvivesAnEditOfItsChannel) {
    const RadioImage image = ImageWithChannel1(
        {0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14, 0xFF, 0xFF, 0x62, 0x7C, 0x00, 0x18, 0x00, 0xFF});
    EditSession s;
    s.Load(image);
    ASSERT_EQ(s.Text(1, col::kTxTone), "826.2");
    s.SetCell(1, col::kWidth, "窄", CellEntry::Leave);
    const ChannelRecord saved = Record(s.ImageForSave(), 1);
    EXPECT_EQ(saved[10], 0x62);
    EXPECT_EQ(saved[11], 0x7C);
    EXPECT_EQ(saved[13], 0x08);
    EXPECT_TRUE(OnlyFieldChanged(Record(image, 1), saved, col::kWidth));
}

TEST(EditSessionSave, SelectionsGoIntoTheSettings) {
    EditSession s;
    EXPECT_TRUE(s.SetSelection(FormBox::Model, 2).changed);
    EXPECT_TRUE(s.SetSelection(FormBox::Band, 9).selectionsChanged);
    EXPECT_TRUE(s.SetSelection(FormBox::Band, 10).refused);
    EXPECT_TRUE(s.SetSelection(FormBox::Manual, -1).refused);
    const RadioImage image = s.ImageForSave();
    EXPECT_EQ(image[addr::kModel], 0x3A);
    EXPECT_EQ(image[addr::kBand], 0xEE + 9);
    EXPECT_EQ(image[addr::kFixedA8], 0xA8);
    EXPECT_EQ(s.Band().low, 46000000u);
}

TEST(EditSessionClipboard, WholeRowsWithOffTableCodesPasteByteForByte) {
    const RadioImage original = ImageWithUnusualChannels();
    EditSession s;
    s.Load(original);
    const std::string rows = s.Copy({1, 1, 4, 10});
    PasteResult pasted;
    // Pasted over empty channels 11-14, then compared with the originals.
    EXPECT_TRUE(s.Paste({11, 1, 11, 1}, rows, &pasted).changed);
    EXPECT_TRUE(pasted.refused.empty()) << pasted.refused.front().reason;
    for (int n = 1; n <= 4; ++n) EXPECT_EQ(Row(s, 10 + n), Row(s, n)) << n;
    const RadioImage saved = s.ImageForSave();
    for (int n : {1, 4}) {
        ChannelRecord pasted = Record(saved, 10 + n);
        ChannelRecord source = Record(original, n);
        // Byte 12 "" stores 0; byte 13's unused bits and bytes 14-15 are the
        // empty row's. The tone words and frequencies are the same bytes.
        EXPECT_TRUE(std::equal(source.begin(), source.begin() + 12, pasted.begin())) << n;
    }
}

TEST(EditSessionClipboard, PasteRefusalsAndCut) {
    EditSession s = SessionWithChannel();
    PasteResult pasted;
    EditResult r = s.Paste({127, 1, 127, 1}, "146\n147\n148\n149\n", &pasted);
    EXPECT_EQ((std::pair{r.firstRow, r.lastRow}), (std::pair{127, 128}));
    ASSERT_EQ(pasted.refused.size(), 2u);
    EXPECT_EQ(pasted.refused[0].reason, "超出频道表");
    EXPECT_EQ(s.Text(128, 2), "147.00000");
    EXPECT_EQ((std::tuple{pasted.block.top, pasted.block.bottom}), (std::tuple{127, 128}));
    // Nothing that can be pasted: no step.
    EXPECT_FALSE(s.Paste({1, 3, 1, 3}, "nonsense", &pasted).changed);
    ASSERT_EQ(pasted.refused.size(), 1u);
    // An empty clipboard pastes nothing, even over a selection it would fill;
    // one cell's text fills the selection, which stays as it was.
    const Texts before = Row(s, 1);
    EXPECT_FALSE(s.Paste({1, 1, 2, 2}, "", &pasted).changed);
    EXPECT_EQ(Row(s, 1), before);
    EXPECT_TRUE(s.Paste({1, 1, 2, 2}, "145.5", &pasted).changed);
    EXPECT_EQ((std::tuple{pasted.block.top, pasted.block.left, pasted.block.bottom, pasted.block.right}),
              (std::tuple{1, 1, 2, 2}));
    EXPECT_EQ(s.Text(2, 2), "145.50000");
    s.Undo();

    s.SetCell(1, 3, "67.0", CellEntry::Leave);
    s.SetCell(1, 5, "窄", CellEntry::Leave);
    EXPECT_TRUE(s.ClearCellRange({1, 3, 1, 5}).changed);
    EXPECT_EQ(Row(s, 1), kNewChannel);  // cut leaves the new-channel entries
    EXPECT_FALSE(s.ClearCellRange({1, 3, 1, 5}).changed);
    s.ClearCellRange({1, 1, 1, 2});
    EXPECT_EQ(Row(s, 1), Texts(10, ""));
}

TEST(EditSessionChannels, InsertDeleteMoveClearAndSetField) {
    const RadioImage original = ImageWithUnusualChannels();
    EditSession s;
    s.Load(original);
    EXPECT_TRUE(s.InsertChannels({1, 2}).changed);
    EXPECT_EQ(Record(s.ImageForSave(), 3), Record(original, 1));
    EXPECT_EQ(Record(s.ImageForSave(), 6), Record(original, 4));
    EXPECT_EQ(Row(s, 1), Texts(10, ""));
    EXPECT_TRUE(s.DeleteChannels({1, 2}).changed);
    EXPECT_TRUE(SameChannelArea(s.ImageForSave(), original));
    const EditResult moved = s.MoveChannels({1, 1}, 1);
    EXPECT_TRUE(moved.changed);
    EXPECT_EQ(Record(s.ImageForSave(), 2), Record(original, 1));
    // The selection follows the moved channels; a refused move leaves it.
    ASSERT_TRUE(moved.selected);
    EXPECT_EQ(moved.selected->first, 2);
    EXPECT_EQ(moved.selected->last, 2);
    const EditResult refusedMove = s.MoveChannels({1, 1}, -1);
    EXPECT_TRUE(refusedMove.refused);
    EXPECT_FALSE(refusedMove.selected);
    EXPECT_TRUE(s.ClearChannels({1, 2}).changed);
    EXPECT_EQ(Row(s, 2), Texts(10, ""));

    // Insertion that would push a channel in use off the table is refused.
    s.SetSelection(FormBox::Band, 1);
    s.SetCell(128, 1, "145", CellEntry::Leave);
    const EditResult refusedInsert = s.InsertChannels({4, 5});
    EXPECT_TRUE(refusedInsert.refused);
    EXPECT_EQ(refusedInsert.refusal, "频道表末尾的 2 个频道中有数据，不能插入空频道。");

    EXPECT_TRUE(s.SetField(7, {1, 128}, "低").changed);
    EXPECT_EQ(s.Text(4, 7), "低");
    EXPECT_EQ(s.Text(5, 7), "");  // no channel there
    EXPECT_TRUE(s.SetField(5, {1, 128}, "很宽").refused);
    // Channels none of which is in use: nothing to set, and it is said.
    const EditResult none = s.SetField(7, {5, 9}, "低");
    EXPECT_FALSE(none.changed);
    EXPECT_EQ(none.refusal, "所选的频道都没有使用，没有修改任何频道。");
}

TEST(EditSessionDocument, ReplaceImageAndSettings) {
    EditSession s = SessionWithChannel();
    const RadioImage other = RandomValidImage(7);
    EXPECT_TRUE(s.ReplaceImage(other).changed);
    EXPECT_TRUE(SameChannelArea(s.ImageForSave(), other));
    // A read from the radio is a step even when the radio holds the same.
    EXPECT_FALSE(s.ReplaceImage(s.ImageForSave()).changed);
    EXPECT_TRUE(s.ReplaceImage(s.ImageForSave(), true).changed);

    RadioImage edited = s.ImageForSave();
    edited[addr::kSquelch] = 3;
    edited[addr::kBand] = 0xEE + 4;
    edited[0] = 0x99;  // the options change no channel
    EditResult r = s.ApplySettings(edited);
    EXPECT_TRUE(r.selectionsChanged);
    EXPECT_EQ(s.Selection(FormBox::Band), 4);
    EXPECT_EQ(s.ImageForSave()[addr::kSquelch], 3);
    EXPECT_EQ(s.ImageForSave()[0], other[0]);
    s.Undo();
    EXPECT_NE(s.ImageForSave()[addr::kSquelch], 3);
}

TEST(EditSessionUndo, EveryOperationUndoesAndRedoes) {
    const RadioImage original = ImageWithUnusualChannels();
    EditSession s;
    s.Load(original);
    const RadioImage start = s.ImageForSave();
    PasteResult pasted;
    const std::vector<std::function<EditResult()>> operations = {
        [&] { return s.SetSelection(FormBox::Band, 1); },
        [&] { return s.SetCell(6, 1, "145.125", CellEntry::Enter); },
        [&] { return s.SetCell(1, 3, "88.5", CellEntry::Leave); },
        [&] {
            return s.Paste({7, 1, 7, 1}, "146\t146.5\t67.0", &pasted);
        },
        [&] {
            return s.ClearCellRange({6, 1, 7, 10});
        },
        [&] {
            return s.ClearChannels({1, 1});
        },
        [&] {
            return s.InsertChannels({2, 3});
        },
        [&] {
            return s.DeleteChannels({2, 2});
        },
        [&] {
            return s.MoveChannels({3, 4}, 1);
        },
        [&] {
            return s.SetField(9, {1, 128}, "开");
        },
        [&] { return s.ReplaceImage(RandomValidImage(3)); },
        [&] {
            RadioImage edited = s.ImageForSave();
            edited[addr::kTimer] ^= 1;
            return s.ApplySettings(edited);
        },
    };
    std::vector<RadioImage> after;
    for (const auto& operation : operations) {
        const RadioImage before = s.ImageForSave();
        ASSERT_TRUE(operation().changed) << after.size();
        after.push_back(s.ImageForSave());
        ASSERT_NE(after.back(), before) << after.size();
    }
    for (std::size_t i = operations.size(); i-- > 0;) {
        EXPECT_EQ(s.ImageForSave(), after[i]) << i;
        EXPECT_TRUE(s.Undo().changed);
    }
    EXPECT_FALSE(s.CanUndo());
    EXPECT_EQ(s.ImageForSave(), start);
    EXPECT_TRUE(SameChannelArea(start, original));
    EXPECT_FALSE(s.IsModified());
    for (const RadioImage& image : after) {
        EXPECT_TRUE(s.Redo().changed);
        EXPECT_EQ(s.ImageForSave(), image);
    }
    EXPECT_FALSE(s.CanRedo());
    EXPECT_FALSE(s.Redo().changed);
}

TEST(EditSessionUndo, ModifiedAgainstTheLastSave) {
    EditSession s = SessionWithChannel();
    EXPECT_FALSE(s.IsModified());
    s.SetCell(2, 1, "146", CellEntry::Leave);
    EXPECT_TRUE(s.IsModified());
    s.Undo();
    EXPECT_FALSE(s.IsModified());
    s.Redo();
    s.MarkSaved();
    s.Undo();
    EXPECT_TRUE(s.IsModified());
    // A new change after an undo drops the saved state from the history.
    s.SetCell(3, 1, "147", CellEntry::Leave);
    EXPECT_TRUE(s.IsModified());
    s.Undo();
    EXPECT_TRUE(s.IsModified());

    // The history keeps the last steps only.
    EditSession limited;
    limited.SetSelection(FormBox::Band, 1);
    for (std::size_t i = 0; i < EditSession::kUndoLimit + 5; ++i)
        limited.SetCell(1, 1, UnitsToFrequencyText(14500000 + static_cast<std::uint32_t>(i % 2) * 500),
                        CellEntry::Leave);
    int undone = 0;
    while (limited.Undo().changed) ++undone;
    EXPECT_EQ(undone, static_cast<int>(EditSession::kUndoLimit));
    EXPECT_TRUE(limited.IsModified());  // the loaded state is gone from the history
}

TEST(EditSessionCsv, ExportThenImportKeepsTheChannelArea) {
    const RadioImage original = ImageWithUnusualChannels();
    EditSession s;
    s.Load(original);
    const std::string csv = ExportChannelsCsv(s.ImageForSave());
    RadioImage imported = s.ImageForSave();
    const CsvImport result = ImportChannelsCsv(csv, imported, false);
    ASSERT_TRUE(result.problems.empty()) << result.problems.front().reason;
    EXPECT_EQ(result.channels, 3);
    EXPECT_FALSE(s.ReplaceImage(imported).changed);
    EXPECT_TRUE(SameChannelArea(s.ImageForSave(), original));
}

// Switching the language shows the lists' texts anew, and nothing else changes.
TEST(EditSessionLanguage, RelabelKeepsHistoryModifiedStateAndBytes) {
    const LanguageScope chinese(Lang::Zh);
    const RadioImage original = ImageWithUnusualChannels();
    EditSession s;
    s.Load(original);
    s.SetSelection(FormBox::Band, 1);
    s.SetCell(3, 1, "150", CellEntry::Leave);
    s.MarkSaved();
    s.SetCell(3, 5, "窄", CellEntry::Leave);
    const RadioImage before = s.ImageForSave();
    ASSERT_TRUE(s.IsModified());

    SetCurrentLanguage(Lang::En);
    s.Relabel(Lang::En);
    EXPECT_EQ(Row(s, 3), (Texts{"150.00000", "150.00000", "OFF", "OFF", "Narrow", "Yes", "High", "DTMF", "On", "Off"}));
    EXPECT_EQ(s.Text(4, 8), "Sequential");
    EXPECT_EQ(s.Text(1, 8), "");  // a value without a text stays without one
    EXPECT_TRUE(s.IsModified());
    EXPECT_EQ(s.ImageForSave(), before);  // channels 1, 2 and 4 untouched, byte for byte

    // Undo and redo reach the same steps as before, in the new language.
    ASSERT_TRUE(s.Undo().changed);
    EXPECT_EQ(s.Text(3, 5), "Wide");
    EXPECT_FALSE(s.IsModified());
    ASSERT_TRUE(s.Undo().changed);
    EXPECT_EQ(s.Text(3, 1), "");
    s.Redo();
    s.Redo();
    EXPECT_EQ(s.Text(3, 5), "Narrow");
    EXPECT_FALSE(s.CanRedo());

    // Typed, pasted and set in either language; kept in the one shown.
    s.SetCell(3, 6, "否", CellEntry::Leave);
    EXPECT_EQ(s.Text(3, 6), "No");
    s.Paste({3, 7, 3, 7}, "低\t无\n", nullptr);
    EXPECT_EQ(s.Text(3, 7), "Low");
    EXPECT_EQ(s.Text(3, 8), "None");
    s.SetField(10, {3, 3}, "载波");
    EXPECT_EQ(s.Text(3, 10), "Carrier");
    const RadioImage english = s.ImageForSave();

    SetCurrentLanguage(Lang::Zh);
    s.Relabel(Lang::Zh);
    EXPECT_EQ(Row(s, 3), (Texts{"150.00000", "150.00000", "OFF", "OFF", "窄", "否", "低", "无", "开", "载波"}));
    EXPECT_EQ(s.ImageForSave(), english);
}
