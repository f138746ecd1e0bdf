#include "tuning/TuningModel.h"

#include <algorithm>

#include "tones/ToneTable.h"
#include "editor/CellRules.h"
#include "image/ChannelCodec.h"
#include "image/DecimalText.h"
#include "res/Texts.h"

namespace {
constexpr std::uint32_t kMHz = 100000;
}

TuningModel::TuningModel(std::uint32_t bandLowUnits) : m_bandLow(bandLowUnits) {
    for (int set = kHigh; set <= kLow; ++set) RestoreSet(set);
}

std::uint32_t TuningModel::DefaultUnits(int set) const {
    return m_bandLow + (set == kHigh ? 20 : set == kMid ? 10 : 0) * kMHz;
}

void TuningModel::RestoreSet(int set) {
    FrequencySet& s = Set(set);
    s.rx = SideSettings{DefaultUnits(set), FrequencyStep::Khz5, SignallingKind::Analogue, 0};
    s.tx = s.rx;
}

int TuningModel::DefaultValue(TuningItem item) {
    switch (item) {
        case TuningItem::TxFrequency: return 91;
        case TuningItem::LowBattery: return 38;
        case TuningItem::Squelch: return 160;
        case TuningItem::TxPower: return 47;
    }
    return 0;
}

std::uint32_t TuningModel::Normalise(const std::string& text, FrequencyStep step) const {
    std::uint32_t u = FrequencyTextToUnits(text);
    const std::uint32_t hi = m_bandLow + 20 * kMHz;
    const std::uint32_t lo = m_bandLow;
    if (u > hi) return hi;
    if (u < lo) return lo;
    return RoundToStep(u, step);
}

std::uint32_t RoundToStep(std::uint32_t u, FrequencyStep step) {
    if (step == FrequencyStep::Khz5) {
        const std::uint32_t r = u % 500;
        return r > 250 ? u + 500 - r : u - r;
    }
    const std::uint32_t r = u % 625;
    return r >= 313 ? u + 625 - r : u - r;
}

std::optional<std::uint32_t> TuningFrequencyFromText(const std::string& text, std::optional<FrequencyStep> step,
                                                     std::string* refusal) {
    // Read as a frequency cell reads it.
    const std::string t = TrimBlanks(text);
    if (!IsOneDecimal(t)) {
        if (refusal) *refusal = TrFormat(TextId::TuneBadFrequency, {text});
        return std::nullopt;
    }
    const std::uint32_t units = FrequencyTextToUnits(t);
    if (units < kLowestUnits || units > kHighestUnits) {
        if (refusal) *refusal = TrFormat(TextId::TuneFrequencyRange, {text});
        return std::nullopt;
    }
    if (step) return RoundToStep(units, *step);
    if (units % 500 == 0 || units % 625 == 0) return units;
    if (refusal) *refusal = TrFormat(TextId::TuneOffStep, {text});
    return std::nullopt;
}

std::optional<std::string> TuningToneFromText(const std::string& text, std::string* refusal) {
    if (auto tone = ToneTableText(TrimBlanks(text))) return tone;
    if (refusal) *refusal = TrFormat(TextId::TuneBadTone, {text});
    return std::nullopt;
}

std::string TuningModel::WillSendText(int set) const {
    static const TextId kNames[] = {TextId::TuningSetHigh, TextId::TuningChooseMiddle, TextId::TuningSetLow};
    const TuningRequest request = Request(set, TuningItem::TxFrequency);
    return TrFormat(TextId::TuningWillSend, {Tr(kNames[std::clamp(set, kHigh, kLow) - kHigh]), request.rxFrequency,
                                             request.txFrequency, request.rxTone, request.txTone});
}

TuningRequest TuningModel::Request(int set, TuningItem item) const {
    const FrequencySet& s = Set(set);
    TuningRequest request;
    request.item = item;
    request.rxFrequency = UnitsToFrequencyText(s.rx.units);
    request.txFrequency = UnitsToFrequencyText(s.tx.units);
    const auto& rxList = SignallingList(s.rx.kind);
    const auto& txList = SignallingList(s.tx.kind);
    request.rxTone = rxList.at(static_cast<std::size_t>(s.rx.listIndex) % rxList.size());
    request.txTone = txList.at(static_cast<std::size_t>(s.tx.listIndex) % txList.size());
    request.value = static_cast<std::uint8_t>(ItemValue(item));
    return request;
}

const std::vector<std::string>& SignallingList(SignallingKind kind) {
    static const std::vector<std::string> analogue(ToneTable::Instance().Texts().begin(),
                                                   ToneTable::Instance().Texts().begin() + 51);
    static const std::vector<std::string> digital(ToneTable::Instance().Texts().begin() + 51,
                                                  ToneTable::Instance().Texts().end());
    return kind == SignallingKind::Analogue ? analogue : digital;
}

std::uint32_t BandLowUnits(const std::string& bandText) {
    return FrequencyTextToUnits(bandText);  // reading stops at the blank before the dash
}

std::optional<TextId> TuningModel::RestoreDefaults(TuningPage shown, int set, TuningItem item) {
    switch (shown) {
        case TuningPage::FrequencySet: RestoreSet(set); return std::nullopt;
        case TuningPage::Item: SetItemValue(item, DefaultValue(item)); return std::nullopt;
        case TuningPage::None: break;
    }
    return TextId::TuningNothingShown;
}
