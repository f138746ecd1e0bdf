#pragma once
// The one list of signalling names: "OFF", the 50 CTCSS tones and the 105 DCS
// codes in normal and then inverted polarity. Built once, never changed.
#include <cstddef>
#include <string>
#include <vector>

class ToneTable {
public:
    static constexpr int kCount = 261;
    static constexpr int kFirstCtcss = 1;
    static constexpr int kLastCtcss = 50;
    static constexpr int kFirstDcsNormal = 51;
    static constexpr int kFirstDcsInverted = 156;

    // The table of the running program.
    static const ToneTable& Instance();

    int Count() const { return static_cast<int>(m_texts.size()); }
    const std::string& Text(int index) const { return m_texts.at(static_cast<std::size_t>(index)); }
    const std::vector<std::string>& Texts() const { return m_texts; }

private:
    ToneTable();
    std::vector<std::string> m_texts;
};
