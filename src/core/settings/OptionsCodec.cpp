#include "settings/OptionsCodec.h"

#include <cctype>

#include "res/Texts.h"

namespace {

bool Bit(std::uint8_t byte, int bit) { return (byte >> bit) & 1; }

void SetBit(std::uint8_t& byte, int bit, bool on) {
    if (on)
        byte = static_cast<std::uint8_t>(byte | (1u << bit));
    else
        byte = static_cast<std::uint8_t>(byte & ~(1u << bit));
}

bool InRange(std::uint8_t b, char lo, char hi) {
    return b >= static_cast<std::uint8_t>(lo) && b <= static_cast<std::uint8_t>(hi);
}

char Upper(std::uint8_t b) { return static_cast<char>(b - 'a' + 'A'); }

std::string DecodeAni(const RadioImage& image) {
    std::string text;
    for (std::size_t i = 0; i < addr::kTextFieldSize; ++i) {
        const std::uint8_t b = image[addr::kAni + i];
        if (InRange(b, '0', '9') && i < 4)
            text.push_back(static_cast<char>(b));
        else if (InRange(b, 'A', 'F'))
            text.push_back(static_cast<char>(b));
        else if (InRange(b, 'a', 'f') && i < 6)
            text.push_back(Upper(b));
    }
    return text;
}

std::string DecodeRadioName(const RadioImage& image) {
    std::string text;
    for (std::size_t i = 0; i < addr::kTextFieldSize; ++i) {
        const std::uint8_t b = image[addr::kRadioName + i];
        if (InRange(b, '0', '9') || InRange(b, 'A', 'Z'))
            text.push_back(static_cast<char>(b));
        else if (InRange(b, 'a', 'z') && i < 6)
            text.push_back(Upper(b));
    }
    return text;
}

// Letters up to `lastLetter` (either case) store as upper case; anything else
// stores as 0x30 plus its digit value, or 0x30 when it is no digit. The text is
// stored in full: nothing the radio held is cut away; bytes after it are 0xFF.
void EncodeText(const std::string& text, char lastLetter, RadioImage& image, std::size_t at) {
    for (std::size_t i = 0; i < addr::kTextFieldSize; ++i) {
        std::uint8_t b = 0xFF;
        if (i < text.size()) {
            const std::uint8_t c = static_cast<std::uint8_t>(text[i]);
            if (InRange(c, 'A', lastLetter))
                b = c;
            else if (InRange(c, 'a', static_cast<char>(lastLetter - 'A' + 'a')))
                b = static_cast<std::uint8_t>(Upper(c));
            else if (InRange(c, '0', '9'))
                b = c;
            else
                b = 0x30;
        }
        image[at + i] = b;
    }
}

}  // namespace

bool OptionsTextTakes(OptionsText field, char32_t c) {
    const bool letter = (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z');
    return (c >= U'0' && c <= U'9') || (letter && field == OptionsText::RadioName);
}

OptionsTextEdit KeepTaken(OptionsText field, std::size_t loadedLength, std::string_view before,
                          std::string_view after) {
    const std::size_t limit = std::max<std::size_t>(field == OptionsText::Ani ? 4 : 6, loadedLength);
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    // What is put in fits beside the text around it; a text around it that
    // alone is too long (the typing of a long text loaded) takes nothing more.
    const std::size_t room = head + tail < limit ? limit - head - tail : 0;
    OptionsTextEdit edit{std::string(after.substr(0, head)), 0};
    for (const char c : after.substr(head, after.size() - head - tail))
        if (edit.text.size() - head < room && OptionsTextTakes(field, static_cast<unsigned char>(c)))
            edit.text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    edit.caret = edit.text.size();
    edit.text += after.substr(after.size() - tail);
    return edit;
}

OptionsValues DecodeOptions(const RadioImage& image) {
    OptionsValues v;
    const std::uint8_t timer = image[addr::kTimer];
    v.timerPosition = timer <= 9 ? timer : 0;
    const std::uint8_t squelch = image[addr::kSquelch];
    v.squelch = squelch < 10 ? squelch : 0;
    const std::uint8_t functions = image[addr::kFunctions];
    v.alarmTone = Bit(functions, 6);
    v.scrambler = Bit(functions, 4);
    v.batterySave = Bit(functions, 2);
    v.language = Bit(functions, 1) ? (Bit(functions, 0) ? 0 : 1) : 2;
    const std::uint8_t gain = image[addr::kVoxGain];
    v.voxGain = gain < 11 ? gain : 0;
    const std::uint8_t delay = image[addr::kVoxDelay];
    v.voxDelay = delay < 6 ? delay : 0;
    v.voxFunction = false;
    v.voxInhibitOnRx = false;
    v.bot = Bit(image[addr::kVoxPtt], 5);
    v.eot = Bit(image[addr::kVoxPtt], 4);
    v.ani = DecodeAni(image);
    v.radioName = DecodeRadioName(image);
    return v;
}

void EncodeOptions(const OptionsValues& v, RadioImage& image) {
    std::uint8_t& functions = image[addr::kFunctions];
    SetBit(functions, 4, v.scrambler);
    SetBit(functions, 6, v.alarmTone);
    SetBit(functions, 2, v.batterySave);
    if (v.language == 0) {
        SetBit(functions, 1, true);
        SetBit(functions, 0, true);
    } else if (v.language == 1) {
        SetBit(functions, 1, true);
        SetBit(functions, 0, false);
    } else {
        SetBit(functions, 1, false);  // off leaves bit 0 as it was
    }
    std::uint8_t& vox = image[addr::kVoxPtt];
    SetBit(vox, 7, v.voxFunction);
    SetBit(vox, 6, v.voxInhibitOnRx);
    SetBit(vox, 5, v.bot);
    SetBit(vox, 4, v.eot);
    image[addr::kSquelch] = static_cast<std::uint8_t>(v.squelch);
    image[addr::kTimer] = static_cast<std::uint8_t>(v.timerPosition);
    image[addr::kVoxGain] = static_cast<std::uint8_t>(v.voxGain);
    image[addr::kFixed00] = 0;
    image[addr::kVoxDelay] = static_cast<std::uint8_t>(v.voxDelay);
    image[addr::kFixed04] = 4;
    EncodeText(v.ani, 'F', image, addr::kAni);
    EncodeText(v.radioName, 'Z', image, addr::kRadioName);
}

std::string TimerText(int position) { return position == 0 ? "OFF" : std::to_string(position * 30); }

const std::array<std::string, 10>& SquelchTexts() {
    static const std::array<std::string, 10> texts = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    return texts;
}

const std::array<std::string, 11>& VoxGainTexts() {
    static const std::array<std::string, 11> texts = {"OFF", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
    return texts;
}

const std::array<std::string, 6>& VoxDelayTexts() {
    static const std::array<std::string, 6> texts = {"0.3", "0.5", "1.0", "1.5", "2.0", "3.0"};
    return texts;
}

const std::array<std::string, 3>& LanguageTexts() {
    static const auto texts = TextsInBothLanguages<3>({TextId::VoiceChinese, TextId::VoiceEnglish, TextId::VoiceOff});
    return texts[static_cast<std::size_t>(CurrentLanguage())];
}
