#pragma once
// The radio-wide settings the options dialog edits, as a plain record, and the
// rules that move it out of and into the settings block of the image.
#include <array>
#include <string>
#include <string_view>

#include "image/RadioImage.h"

struct OptionsValues {
    int timerPosition = 0;  // 0 = off, n = n x 30 seconds
    int squelch = 0;        // list index 0-9
    int voxGain = 0;        // list index 0-10 ("OFF", "1" .. "10")
    int voxDelay = 0;       // list index 0-5
    int language = 0;       // 0 "中文", 1 "英文", 2 "关闭"
    bool alarmTone = false;
    bool scrambler = false;
    bool batterySave = false;
    bool bot = false;
    bool eot = false;
    bool voxFunction = false;     // hidden in the dialog, always stored as 0
    bool voxInhibitOnRx = false;  // hidden in the dialog, always stored as 0
    std::string ani;
    std::string radioName;
};

OptionsValues DecodeOptions(const RadioImage& image);
void EncodeOptions(const OptionsValues& values, RadioImage& image);

// The two texts of the dialog: the ANI takes digits, the radio name letters
// and digits.
enum class OptionsText { Ani, RadioName };
bool OptionsTextTakes(OptionsText field, char32_t c);

// A field's text after an edit (typed or pasted) turned `before` into
// `after`: of what the edit put in, only the characters the field takes, in
// upper case, and only as many as fit (4 in the ANI, 6 in the name, or the
// length of the text loaded, `loadedLength`, when that is longer), so the
// field never shows what would be stored otherwise; the text around it as it
// was (the radio's own letters in an ANI stay). `caret` follows what was put in.
struct OptionsTextEdit {
    std::string text;
    std::size_t caret = 0;
};
OptionsTextEdit KeepTaken(OptionsText field, std::size_t loadedLength, std::string_view before, std::string_view after);

// "OFF" for 0, else the seconds (30 .. 270).
std::string TimerText(int position);

const std::array<std::string, 10>& SquelchTexts();
const std::array<std::string, 11>& VoxGainTexts();
const std::array<std::string, 6>& VoxDelayTexts();
const std::array<std::string, 3>& LanguageTexts();
