// Arbitrary cell texts through the frequency conversion, the frequency check
// and the tone rules.
#include <cstdlib>
#include <string>

#include "editor/CellRules.h"
#include "image/ChannelCodec.h"

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
    return 0;
}
