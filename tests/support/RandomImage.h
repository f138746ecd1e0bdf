#pragma once
// A radio image of pseudo-random bytes, the same for the same seed.
#include <random>

#include "image/RadioImage.h"

inline RadioImage RandomImage(unsigned seed) {
    std::mt19937 rng(seed);
    RadioImage image;
    for (auto& b : image) b = static_cast<std::uint8_t>(rng());
    return image;
}
