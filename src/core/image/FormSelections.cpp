#include "image/FormSelections.h"

#include "res/Texts.h"

FormSelections DecodeFormSelections(const RadioImage& image) {
    FormSelections s;
    const std::uint8_t band = image[addr::kBand];
    s.band = (band >= 0xEE && band <= 0xF7) ? band - 0xEE : 0;
    const std::uint8_t model = image[addr::kModel];
    s.model = (model >= 0x38 && model <= 0x3A) ? model - 0x38 : 0;
    s.manual = (image[addr::kFunctions] & 0x80) ? 0 : 1;
    const std::uint8_t power = image[addr::kPowerLevel];
    s.powerLevel = power <= 9 ? power : 0;
    return s;
}

void EncodeFormSelections(const FormSelections& s, RadioImage& image) {
    image[addr::kBand] = static_cast<std::uint8_t>(0xEE + s.band);
    image[addr::kModel] = static_cast<std::uint8_t>(0x38 + s.model);
    if (s.manual == 0)
        image[addr::kFunctions] |= 0x80;
    else
        image[addr::kFunctions] &= 0x7F;
    image[addr::kPowerLevel] = static_cast<std::uint8_t>(s.powerLevel);
    image[addr::kFixedA8] = 0xA8;
}

const std::array<std::string, 3>& ModelTexts() {
    static const std::array<std::string, 3> texts = {"OST - 101", "OST - 102", "OST - 103"};
    return texts;
}

const std::array<std::string, 10>& BandTexts() {
    static const std::array<std::string, 10> texts = {
        " 67 -  72MHz", "136 - 174MHz", "240 - 260MHz", "350 - 390MHz", "400 - 430MHz",
        "430 - 450MHz", "450 - 470MHz", "470 - 490MHz", "400 - 470MHz", "460 - 520MHz",
    };
    return texts;
}

const std::array<std::string, 10>& PowerLevelTexts() {
    static const std::array<std::string, 10> texts = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return texts;
}

const std::array<std::string, 2>& ManualTexts() {
    static const auto texts = TextsInBothLanguages<2>({TextId::ValueOn, TextId::ValueOff});
    return texts[static_cast<std::size_t>(CurrentLanguage())];
}

const std::array<BandLimits, 10>& BandLimitTable() {
    static const std::array<BandLimits, 10> table = {{
        {6700000, 7200000},
        {13600000, 17400000},
        {24000000, 26000000},
        {35000000, 39000000},
        {40000000, 43000000},
        {43000000, 45000000},
        {45000000, 47000000},
        {47000000, 49000000},
        {40000000, 47000000},
        {46000000, 52000000},
    }};
    return table;
}
