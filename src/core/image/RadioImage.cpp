#include "image/RadioImage.h"

#include <cstdio>

RadioImage NewDocumentImage() {
    RadioImage image;
    image.fill(0xFF);
    struct Default {
        std::size_t offset;
        std::uint8_t value;
    };
    static constexpr Default kDefaults[] = {
        {0x80A, 0xF0}, {0x80B, 0x38}, {0x810, 0x00}, {0x811, 0xA8}, {0x812, 0xD7}, {0x813, 0x04}, {0x814, 0x02},
        {0x815, 0x09}, {0x816, 0x00}, {0x817, 0x04}, {0x818, 0x00}, {0x819, 0x09}, {0x81A, 0x00}, {0x81D, 0x00},
    };
    for (const Default& d : kDefaults) image[d.offset] = d.value;
    return image;
}

std::string RadioTypeText(int radioType) {
    if (radioType < 0) return "";
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(radioType & 0xFF));
    return text;
}
