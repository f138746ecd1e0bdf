#pragma once
// The simulated radio's side of the clone and tuning exchanges: bytes in,
// reply bytes out, with faults injected on request.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "image/RadioImage.h"

struct SimFaults {
    bool silent = false;         // never answers anything
    int ignoreHandshakes = 0;    // the first K handshakes get no answer
    int identBytes = 8;          // bytes of the identification actually sent
    int shortReplyBlock = -1;    // this read block's reply is cut ...
    int shortReplyBytes = 12;    // ... to this many bytes
    int noReadAckBlock = -1;     // no ACK after this read block
    int noWriteAckBlock = -1;    // no ACK after this write block
    bool wrongAck = false;       // a missing ACK is sent as 0x15 instead of nothing
    int hangupAfterBlocks = -1;  // the cable is pulled after K blocks (read or write)
    int tuningNakStep = 0;       // 11, 13 or 15: answer that step with 'N'
};

struct TuningRecord {
    std::uint8_t item = 0;
    std::vector<std::uint8_t> f1, f2;
};

struct SimReply {
    std::vector<std::uint8_t> bytes;
    bool delayed = false;  // a handshake or tuning answer: a real radio needs a few byte times
};

class RadioSim {
public:
    RadioSim(const RadioImage& memory, std::uint8_t typeCode, const SimFaults& faults);

    SimReply Feed(std::uint8_t byte);

    const RadioImage& Memory() const { return m_memory; }
    bool HangupRequested() const { return m_hangup; }
    // Set once the last block of a write arrived; cleared by the caller.
    bool& WriteCompleted() { return m_writeCompleted; }
    std::optional<TuningRecord> TakeTuning();
    int BlocksRead() const { return m_blocksRead; }
    int BlocksWritten() const { return m_blocksWritten; }

private:
    enum class State {
        Idle,
        AwaitM,
        AwaitStx,
        AwaitLinkAck,
        Command,
        ReadFrame,
        AwaitReadAck,
        WriteFrame,
        TuneFrame,
        TuneF1,
        TuneF2
    };

    SimReply Answer(std::vector<std::uint8_t> bytes, bool delayed);
    bool WatchHandshake(std::uint8_t byte);
    bool HandshakeBegun() const;
    SimReply OnHello();
    SimReply OnCommandByte(std::uint8_t byte);
    SimReply OnFrameComplete();
    SimReply Ack(bool missing);
    void CountBlock();

    RadioImage m_memory;
    std::uint8_t m_type;
    SimFaults m_faults;
    State m_state = State::Idle;
    std::vector<std::uint8_t> m_window;  // last bytes seen, for the handshake
    std::vector<std::uint8_t> m_frame;   // the frame being collected
    std::size_t m_frameSize = 0;
    int m_handshakes = 0;
    int m_blocksRead = 0;
    int m_blocksWritten = 0;
    int m_currentBlock = 0;
    bool m_hangup = false;
    bool m_writeCompleted = false;
    TuningRecord m_tuning;
    std::optional<TuningRecord> m_finishedTuning;
};
