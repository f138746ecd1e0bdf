// Arbitrary text imported as a CSV channel list, in our own layout or, when
// the input starts with "L", after the header of the shared CHIRP layout.
#include <cstdlib>
#include <string>

#include "editor/CellRules.h"
#include "csv/ChannelCsv.h"
#include "image/ChannelTable.h"

namespace {

const char kChirpHeader[] =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,"
    "TStep,Skip,Power\n";

// Every channel an import leaves holds texts typing could have written.
void CheckChannels(const RadioImage& image) {
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord record = RecordAt(image, n);
        if (!ChannelInUse(record)) continue;
        const ChannelTexts t = DecodeChannelRecord(record);
        for (int c = 0; c < 2; ++c) {
            const std::string& f = t[static_cast<std::size_t>(c)];
            if (!f.empty() && !CheckFrequencyText(f, BandLimits{kLowestUnits, kHighestUnits}).accepted) std::abort();
        }
        for (int column = col::kRxTone; column <= col::kBusy; ++column)
            if (CellTextRefusal(column, t[static_cast<std::size_t>(column - 1)])) std::abort();
    }
}

// The channels' texts of the columns both layouts carry.
bool SameChannels(const RadioImage& a, const RadioImage& b) {
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelTexts ta = DecodeChannelRecord(RecordAt(a, n)), tb = DecodeChannelRecord(RecordAt(b, n));
        if (!std::equal(ta.begin(), ta.begin() + col::kPower, tb.begin())) return false;
    }
    return true;
}

// The shared layout takes only the tone table's tones, so a channel holding a
// code from outside the table (which our own layout carries) cannot go through it.
bool OnlyTableTones(const RadioImage& image) {
    for (int n = 1; n <= kChannelCount; ++n) {
        const ChannelRecord record = RecordAt(image, n);
        if (!ChannelInUse(record)) continue;
        const ChannelTexts t = DecodeChannelRecord(record);
        for (const int column : {col::kRxTone, col::kTxTone}) {
            const std::string& tone = t[static_cast<std::size_t>(column - 1)];
            if (!tone.empty() && !ToneTableText(tone)) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty() && text[0] == 'L') text = kChirpHeader + text.substr(1);
    for (const bool renumber : {false, true}) {
        RadioImage image = NewDocumentImage();
        ImportChannelsCsv(text, image, CsvImportOptions{true, renumber});
        CheckChannels(image);
        bool anyInUse = false;
        for (int n = 1; n <= kChannelCount; ++n) anyInUse = anyInUse || ChannelInUse(RecordAt(image, n));
        if (!anyInUse) continue;  // a list of no channels is refused
        for (const CsvLayout layout : {CsvLayout::Own, CsvLayout::Chirp}) {
            // Into the same image, either layout comes back byte for byte.
            RadioImage same = image;
            if (!ImportChannelsCsv(ExportChannelsCsv(image, layout), same, CsvImportOptions{}).problems.empty()) std::abort();
            if (same != image) std::abort();
            if (layout == CsvLayout::Chirp && !OnlyTableTones(image)) continue;
            RadioImage back = NewDocumentImage();
            if (!ImportChannelsCsv(ExportChannelsCsv(image, layout), back, CsvImportOptions{}).problems.empty()) std::abort();
            if (!SameChannels(image, back)) std::abort();
        }
    }
    return 0;
}
