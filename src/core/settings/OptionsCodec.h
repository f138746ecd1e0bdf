#pragma once
// The radio-wide settings the options dialog edits, as a plain record, and the
// rules that move it out of and into the settings block of the image.
#include <array>
#include <string>

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

// What typing puts into the ANI (digits) and into the radio name (letters
// and digits); a pasted text goes in as it is, and EncodeOptions stores what
// it can of it.
bool AniTakesTyped(char32_t c);
bool RadioNameTakesTyped(char32_t c);

// "OFF" for 0, else the seconds (30 .. 270).
std::string TimerText(int position);

const std::array<std::string, 10>& SquelchTexts();
const std::array<std::string, 11>& VoxGainTexts();
const std::array<std::string, 6>& VoxDelayTexts();
const std::array<std::string, 3>& LanguageTexts();
