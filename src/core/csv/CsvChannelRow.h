#pragma once
// A line of a channel list as a CSV layout reads it, before the checks that
// typing the same texts into the grid makes.
#include <array>
#include <string>

#include "image/ChannelCodec.h"

struct CsvChannelRow {
    int line = 0;
    int number = 0;             // the channel the file puts it in
    std::string numberRefusal;  // why the file's channel number cannot be used
    std::string refusal;        // why the layout cannot read the line
    ChannelTexts texts;         // the grid's texts, columns 1-10
    // Columns the line says nothing about: a channel in use keeps what it
    // holds there, a new channel takes what typing gives it.
    std::array<bool, 10> unsaid{};
    // Where the layout reads a value into another spelling (a DCS code of
    // fewer than three digits), the value as the file spells it: a channel
    // that shows this spelling keeps its bits.
    ChannelTexts spelled;
    bool named = false;  // the file gives it a name, which the radio cannot keep
};
