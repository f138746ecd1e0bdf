// Arbitrary cell texts through the frequency conversion, the frequency check
// and the tone rules, and as clipboard text pasted into the channel table.
#include <cstdlib>
#include <string>

#include "editor/CellRules.h"
#include "editor/ChannelClipboard.h"
#include "image/ChannelCodec.h"

namespace {

// Whatever a paste leaves, every cell that is not empty holds a text its
// column accepts: a checked frequency, a tone-code text or a list entry.
void CheckPastedTable(const PlainChannelTable& table) {
    const BandLimits anyBand{kLowestUnits, kHighestUnits};
    for (int row = 1; row <= kChannelCount; ++row)
        for (int column = 1; column <= 10; ++column) {
            const std::string cell = table.CellText(row, column);
            if (cell.empty()) continue;
            if (column <= 2) {
                const FrequencyCheck check = CheckFrequencyText(cell, anyBand);
                if (!check.accepted || check.text != cell) std::abort();
            } else if (CellTextRefusal(column, cell) || StoredCellText(column, cell) != cell) {
                std::abort();
            }
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::uint32_t units = FrequencyTextToUnits(text);
    if (FrequencyTextToUnits(UnitsToFrequencyText(units)) != units) std::abort();
    const FrequencyCheck check = CheckFrequencyText(text, BandLimits{13600000, 17400000});
    if (check.accepted && !check.text.empty()) {
        const std::uint32_t stored = FrequencyTextToUnits(check.text);
        if (stored < kLowestUnits || stored > kHighestUnits || (stored % 625 && stored % 500)) std::abort();
    }
    std::uint8_t h = 0, l = 0;
    EncodeToneWord(text, h, l);
    (void)DecodeToneWord(h, l, true);
    PlainChannelTable table;
    table.SetCellText(1, 1, "146.00000");
    const std::string tone = ToneCommitText(table, 1, text);
    if (tone.empty()) std::abort();

    static const PlainChannelTable newDocument = [] {
        PlainChannelTable t;
        UpdateGridFromImage(NewDocumentImage(), t);
        return t;
    }();
    PlainChannelTable pasted = newDocument;
    PasteCellsTsv(pasted, 1, 1, text, BandLimits{13600000, 17400000});
    PasteCellsTsv(pasted, 127, 3, text, BandLimits{13600000, 17400000});
    CheckPastedTable(pasted);
    return 0;
}
