#include "tuning/TuningEngine.h"

#include "image/ChannelCodec.h"
#include "image/DecimalText.h"
#include "res/Texts.h"

namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kHeard = 'H';
constexpr std::uint8_t kHello[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};

void PutBcdDigits(std::uint32_t value, int pairs, std::uint8_t* out) {
    for (int i = 0; i < pairs; ++i) {
        out[i] = ToBcd(static_cast<int>(value % 100));
        value /= 100;
    }
}

}  // namespace

std::uint8_t TuningItemCode(TuningItem item) {
    switch (item) {
        case TuningItem::TxFrequency: return 'q';
        case TuningItem::LowBattery: return 'r';
        case TuningItem::Squelch: return 's';
        case TuningItem::TxPower: return 't';
    }
    return 'q';
}

std::array<std::uint8_t, 2> ToneBytes(const std::string& tone) {
    const ScaledDecimal d = ReadScaledDecimal(tone, 1);
    const std::uint32_t tenths = d.negative || d.overflow ? 0 : static_cast<std::uint32_t>(d.magnitude % 10000);
    std::array<std::uint8_t, 2> bytes{};
    PutBcdDigits(tenths, 2, bytes.data());
    return bytes;
}

TuningFrame FrequencyFrame(const TuningRequest& r) {
    TuningFrame frame{};
    PutBcdDigits(FrequencyTextToUnits(r.rxFrequency) % 100000000u, 4, frame.data());
    PutBcdDigits(FrequencyTextToUnits(r.txFrequency) % 100000000u, 4, frame.data() + 4);
    return frame;
}

TuningFrame SignallingFrame(const TuningRequest& r) {
    const auto rx = ToneBytes(r.rxTone);
    const auto tx = ToneBytes(r.txTone);
    return {rx[0], rx[1], tx[0], tx[1], 0xFB, 0x01, 0x01, r.value};
}

std::string TuningRetryText(const TuningFault& fault) {
    const std::string why = fault.refused ? TrFormat(TextId::TuningRefusedStep, {std::to_string(fault.step)})
                                          : std::string(Tr(TextId::TuningNoAnswer));
    return std::string(Tr(TextId::TuningRetry)) + "\n" + why;
}

TuningEngine::TuningEngine(ISerialLink& link, IClock& clock, IUserInteraction& ui)
    : m_link(link), m_clock(clock), m_ui(ui) {}

// Stale input is dropped before each byte or frame goes out, never after: a
// radio may answer within the same millisecond, and its answer must be kept.
void TuningEngine::Send(const std::uint8_t* data, std::size_t size) {
    m_link.Purge();
    m_link.Write(data, size);
}

ReadResult TuningEngine::Read(std::uint8_t* buffer, std::size_t size) {
    const ReadResult r = m_link.Read(buffer, size);
    m_portLost = !r.ok;
    return r;
}

std::optional<TuningFault> TuningEngine::Expect(std::uint8_t reply, int step) {
    std::uint8_t byte = 0;
    const ReadResult r = Read(&byte, 1);
    if (!r.ok || r.count != 1) return TuningFault{step, false};
    if (byte != reply) return TuningFault{step, true};
    return std::nullopt;
}

std::optional<TuningFault> TuningEngine::Attempt(const TuningRequest& request) {
    ++m_attempts;
    m_clock.PauseMs(700);
    for (std::uint8_t byte : kHello) {  // T1
        Send(&byte, 1);
        m_clock.PauseMs(1);
    }
    std::uint8_t byte = 0;  // T2: a byte other than ACK gets one more read
    ReadResult r = Read(&byte, 1);
    if (!r.ok) return TuningFault{2, false};
    if (r.count != 1 || byte != kAck) {
        const bool wrongByte = r.count == 1;
        if (auto fault = Expect(kAck, 2)) return TuningFault{2, fault->refused || wrongByte};
    }
    const std::uint8_t m = 'M', stx = 0x02, ack = kAck, x = 'x';
    m_clock.PauseMs(1);  // T3
    Send(&m, 1);
    m_clock.PauseMs(1);  // T4
    Send(&stx, 1);
    std::uint8_t id[8];  // T5
    r = Read(id, sizeof id);
    if (!r.ok || r.count < sizeof id) return TuningFault{5, false};
    m_clock.PauseMs(1);  // T6
    Send(&ack, 1);
    if (auto fault = Expect(kAck, 7)) return fault;
    m_link.Purge();  // T8
    m_clock.PauseMs(1);
    m_link.Write(&x, 1);
    m_clock.PauseMs(1);
    m_link.Purge();
    const std::uint8_t code = TuningItemCode(request.item);
    m_link.Write(&code, 1);  // T9
    m_clock.PauseMs(1);
    const std::uint8_t item[2] = {code, 0x08};  // T10
    Send(item, sizeof item);
    if (auto fault = Expect(kHeard, 11)) return fault;
    m_clock.PauseMs(1);  // T12
    const TuningFrame f1 = FrequencyFrame(request);
    Send(f1.data(), f1.size());
    if (auto fault = Expect(kHeard, 13)) return fault;
    m_clock.PauseMs(1);  // T14
    const TuningFrame f2 = SignallingFrame(request);
    Send(f2.data(), f2.size());
    return Expect(kHeard, 15);
}

TuningOutcome TuningEngine::Run(const std::string& port, const TuningRequest& request) {
    m_attempts = 0;
    m_portLost = false;
    const OpenError error = m_link.Open(port, kTuningTimeouts);
    if (error != OpenError::None) {
        m_ui.Ask(OpenFailureMessage(error, port, m_link.HolderPid()), Buttons::Ok);
        return TuningOutcome::PortUnavailable;
    }
    m_link.Purge();
    for (;;) {
        const std::optional<TuningFault> fault = Attempt(request);
        if (!fault) {
            m_link.Close();
            m_ui.Inform(Tr(TextId::TuningReceived));
            return TuningOutcome::Received;
        }
        // A stop asked for while the radio was awaited ends the exchange; the
        // silence that followed is no fault of the radio's.
        if (m_ui.Cancelled() || m_ui.Ask(TuningRetryText(*fault), Buttons::RetryCancel) != Answer::Retry) {
            m_link.Close();
            return TuningOutcome::Cancelled;
        }
        // The cable plugged back in: the retry opens the port again.
        if (m_portLost) ReopenLostPort(m_link, m_clock, port, kTuningTimeouts, m_ui);
    }
}
