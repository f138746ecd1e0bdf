#pragma once
// The live tuning exchange: the opening handshake, the item, then the
// frequency frame and the signalling frame with the item's value.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "link/SerialLink.h"
#include "interaction/UserInteraction.h"

enum class TuningItem { TxFrequency = 2, LowBattery = 3, Squelch = 4, TxPower = 5 };

std::uint8_t TuningItemCode(TuningItem item);  // 'q', 'r', 's', 't'

struct TuningRequest {
    TuningItem item = TuningItem::TxFrequency;
    std::string rxFrequency;  // MHz texts
    std::string txFrequency;
    std::string rxTone;  // tone texts; a DCS code or "OFF" is sent as 0
    std::string txTone;
    std::uint8_t value = 0;
};

using TuningFrame = std::array<std::uint8_t, 8>;

// The frame of the two frequencies: 8 BCD digits each, least significant pair first.
TuningFrame FrequencyFrame(const TuningRequest& request);
// The frame of the two tones (4 BCD digits of tenths of a hertz each), 0xFB,
// 0x01, 0x01 and the item's value.
TuningFrame SignallingFrame(const TuningRequest& request);
// 4 BCD digits of the tone in tenths of a hertz: "88.5" gives 85 08.
std::array<std::uint8_t, 2> ToneBytes(const std::string& tone);

enum class TuningOutcome { Received, Cancelled, PortUnavailable };

// Why an attempt failed: the step of the exchange (2 .. 15) whose answer did
// not come, or came as another byte.
struct TuningFault {
    int step = 0;
    bool refused = false;  // a wrong byte arrived; otherwise nothing did
};

// The retry question after a failed attempt: the fixed first line, then what
// went wrong.
std::string TuningRetryText(const TuningFault& fault);

class TuningEngine {
public:
    TuningEngine(ISerialLink& link, IClock& clock, IUserInteraction& ui);
    TuningOutcome Run(const std::string& port, const TuningRequest& request);
    int Attempts() const { return m_attempts; }

private:
    // Nothing when the radio answered every step.
    std::optional<TuningFault> Attempt(const TuningRequest& request);
    void Send(const std::uint8_t* data, std::size_t size);
    std::optional<TuningFault> Expect(std::uint8_t reply, int step);
    // Every read of the radio's answers; a failed one means the port went away.
    ReadResult Read(std::uint8_t* buffer, std::size_t size);

    ISerialLink& m_link;
    IClock& m_clock;
    IUserInteraction& m_ui;
    int m_attempts = 0;
    bool m_portLost = false;  // the last read found the port failed (the cable pulled)
};
