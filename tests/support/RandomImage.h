#pragma once
// Radio images of pseudo-random bytes, the same for the same seed.
#include <random>

#include "tones/ToneTable.h"
#include "editor/CellRules.h"
#include "image/ChannelTable.h"
#include "image/RadioImage.h"

inline RadioImage RandomImage(unsigned seed) {
    std::mt19937 rng(seed);
    RadioImage image;
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    return image;
}

// A random image as the program leaves it: valid channels, empty rows saved.
inline RadioImage RandomValidImage(unsigned seed) {
    std::mt19937 rng(seed);
    RadioImage image;
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    PlainChannelTable table;
    for (int n = 1; n <= kChannelCount; ++n) {
        if (rng() % 3 == 0) continue;
        const std::uint32_t units = 6700000 + static_cast<std::uint32_t>(rng() % 7000) * 625;
        table.SetCellText(n, 1, UnitsToFrequencyText(units));
        if (rng() % 4) table.SetCellText(n, 2, UnitsToFrequencyText(units + 625 * (rng() % 100)));
        for (int c = 3; c <= 4; ++c) table.SetCellText(n, c, ToneTable::Instance().Text(static_cast<int>(rng() % 261)));
        for (int c = 5; c <= 10; ++c) {
            const auto& entries = ListEntries(c);
            table.SetCellText(n, c, entries[rng() % entries.size()]);
        }
    }
    UpdateImageFromGrid(table, image);
    return image;
}
