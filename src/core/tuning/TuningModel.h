#pragma once
// What the tuning dialog holds: three test-frequency sets (high, mid, low end
// of the band) with their steps and signalling, and the four items' values.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "res/Texts.h"
#include "tuning/TuningEngine.h"

enum class FrequencyStep { Khz5 = 0, Khz6_25 = 1 };
enum class SignallingKind { Analogue = 0, Digital = 1 };

struct SideSettings {
    std::uint32_t units = 0;  // the frequency in 10 Hz units
    FrequencyStep step = FrequencyStep::Khz5;
    SignallingKind kind = SignallingKind::Analogue;
    int listIndex = 0;

    // Another kind of signalling: its list starts at its first entry.
    void ChooseKind(SignallingKind chosen) {
        if (chosen != kind) listIndex = 0;
        kind = chosen;
    }
};

struct FrequencySet {
    SideSettings rx, tx;
};

// The page of the tuning window in front: a frequency set, an item, or none yet.
enum class TuningPage { None, FrequencySet, Item };

// Sets 2 = high, 3 = mid, 4 = low; items 2 .. 5 as TuningItem.
class TuningModel {
public:
    static constexpr int kHigh = 2, kMid = 3, kLow = 4;

    // `bandLowUnits` is the band's lower edge, read from the band's text.
    explicit TuningModel(std::uint32_t bandLowUnits);

    std::uint32_t BandLow() const { return m_bandLow; }
    FrequencySet& Set(int set) { return m_sets.at(static_cast<std::size_t>(set - kHigh)); }
    const FrequencySet& Set(int set) const { return m_sets.at(static_cast<std::size_t>(set - kHigh)); }
    // The set's defaults: RX = TX = the band's edge + 20 / 10 / 0 MHz, 5 kHz
    // steps, analogue signalling, first entries.
    void RestoreSet(int set);
    std::uint32_t DefaultUnits(int set) const;

    int ItemValue(TuningItem item) const { return m_values.at(static_cast<std::size_t>(item) - 2); }
    void SetItemValue(TuningItem item, int value) { m_values.at(static_cast<std::size_t>(item) - 2) = value; }
    static int DefaultValue(TuningItem item);  // 91, 38, 160, 47

    // "恢复默认值" on the page in front: the set's frequencies or the item's
    // value back to their defaults. With no page in front nothing changes,
    // and the warning to show is returned.
    std::optional<TextId> RestoreDefaults(TuningPage shown, int set, TuningItem item);

    // A typed frequency kept within the band's edge .. +20 MHz and rounded to
    // the step (a remainder of exactly half a 5 kHz step rounds down).
    std::uint32_t Normalise(const std::string& text, FrequencyStep step) const;

    // What "开始" sends for `set` and `item`.
    TuningRequest Request(int set, TuningItem item) const;
    // The line beside "开始" that names the set it sends, with its frequencies
    // and tones: "将发送：高端频率 156.00000 / 156.00000 MHz, OFF / OFF".
    std::string WillSendText(int set) const;

private:
    std::uint32_t m_bandLow;
    std::array<FrequencySet, 3> m_sets{};
    std::array<int, 4> m_values{};
};

// The signalling lists: analogue = tone texts 0 .. 50, digital = 51 .. 260.
const std::vector<std::string>& SignallingList(SignallingKind kind);

// The leading number of a band text, as 10 Hz units: " 67 -  72MHz" gives 67 MHz.
std::uint32_t BandLowUnits(const std::string& bandText);

// `units` rounded to the step as the dialog's Enter does: a remainder of
// exactly half a 5 kHz step rounds down.
std::uint32_t RoundToStep(std::uint32_t units, FrequencyStep step);

// A frequency given as text outside the dialog (the command line): the whole
// text must be a decimal number of MHz within 67 .. 521 MHz. With a `step` it
// is rounded to that step, as the dialog rounds; without one it is taken as
// typed when it lies on a 5 kHz or a 6.25 kHz step, and refused otherwise.
// Nothing, with the reason in `refusal`, for any text refused.
std::optional<std::uint32_t> TuningFrequencyFromText(const std::string& text, std::optional<FrequencyStep> step,
                                                     std::string* refusal);
// A tone given as text: an entry of the tone table (letter case ignored), in
// the table's own spelling. Nothing, with the reason in `refusal`, otherwise.
std::optional<std::string> TuningToneFromText(const std::string& text, std::string* refusal);
