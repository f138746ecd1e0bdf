#include "sim/RadioSim.h"

#include <algorithm>
#include <iterator>

namespace {
constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kNak = 0x15;
constexpr std::uint8_t kHello[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
constexpr int kLastBlock = 263;
}  // namespace

RadioSim::RadioSim(const RadioImage& memory, std::uint8_t typeCode, const SimFaults& faults)
    : m_memory(memory), m_type(typeCode), m_faults(faults) {}

std::optional<TuningRecord> RadioSim::TakeTuning() {
    std::optional<TuningRecord> t = std::move(m_finishedTuning);
    m_finishedTuning.reset();
    return t;
}

SimReply RadioSim::Answer(std::vector<std::uint8_t> bytes, bool delayed) {
    if (m_faults.silent) return {};
    return SimReply{std::move(bytes), delayed};
}

bool RadioSim::WatchHandshake(std::uint8_t byte) {
    m_window.push_back(byte);
    if (m_window.size() > sizeof kHello) m_window.erase(m_window.begin());
    return m_window.size() == sizeof kHello && std::equal(m_window.begin(), m_window.end(), kHello);
}

// The last bytes seen are the start of a handshake: the program that ended
// a session without a word is starting a new one.
bool RadioSim::HandshakeBegun() const {
    const auto last = std::find(m_window.rbegin(), m_window.rend(), kHello[0]);
    if (last == m_window.rend()) return false;
    return std::equal(std::prev(last.base()), m_window.end(), std::begin(kHello));
}

void RadioSim::CountBlock() {
    if (m_faults.hangupAfterBlocks >= 0 && m_blocksRead + m_blocksWritten >= m_faults.hangupAfterBlocks)
        m_hangup = true;
}

SimReply RadioSim::Ack(bool missing) {
    if (!missing) return Answer({kAck}, false);
    if (m_faults.wrongAck) return Answer({kNak}, false);
    return {};
}

SimReply RadioSim::Feed(std::uint8_t byte) {
    const bool collecting = m_state == State::ReadFrame || m_state == State::WriteFrame ||
                            m_state == State::TuneFrame || m_state == State::TuneF1 || m_state == State::TuneF2;
    if (collecting) {
        if (WatchHandshake(byte)) {  // the PC gave up on the frame and starts again
            m_frame.clear();
            return OnHello();
        }
        m_frame.push_back(byte);
        if (m_frame.size() < m_frameSize) return {};
        return OnFrameComplete();
    }
    if (WatchHandshake(byte)) return OnHello();
    switch (m_state) {
        case State::AwaitM:
            if (byte == 'M') m_state = State::AwaitStx;
            return {};
        case State::AwaitStx: {
            if (byte != 0x02) return {};
            m_state = State::AwaitLinkAck;
            std::vector<std::uint8_t> id = {'P', '3', '1', '0', m_type, 0x00, 0x00, 0x00};
            id.resize(static_cast<std::size_t>(std::clamp(m_faults.identBytes, 0, 8)));
            return Answer(id, true);
        }
        case State::AwaitLinkAck:
            if (byte != kAck) return {};
            m_state = State::Command;
            return Answer({kAck}, true);
        case State::AwaitReadAck: {
            if (byte != kAck) return {};
            m_state = State::Command;
            const bool missing = m_currentBlock == m_faults.noReadAckBlock;
            ++m_blocksRead;
            CountBlock();
            return Ack(missing);
        }
        case State::Command:
            // "R" inside the handshake is no read command.
            if (HandshakeBegun()) return {};
            return OnCommandByte(byte);
        default: return {};
    }
}

SimReply RadioSim::OnHello() {
    m_window.clear();
    if (m_handshakes++ < m_faults.ignoreHandshakes) {
        m_state = State::Idle;
        return {};
    }
    m_state = State::AwaitM;
    return Answer({kAck}, true);
}

SimReply RadioSim::OnCommandByte(std::uint8_t byte) {
    m_frame.assign(1, byte);
    switch (byte) {
        case 'R':
            m_state = State::ReadFrame;
            m_frameSize = 4;
            break;
        case 'W':
            m_state = State::WriteFrame;
            m_frameSize = 12;
            break;
        case 'x':
            m_state = State::TuneFrame;
            m_frameSize = 4;
            break;
        default: break;
    }
    return {};
}

SimReply RadioSim::OnFrameComplete() {
    const State state = m_state;
    const std::vector<std::uint8_t> frame = m_frame;
    m_frame.clear();
    switch (state) {
        case State::ReadFrame: {
            const std::size_t address = static_cast<std::size_t>(frame[1] << 8 | frame[2]);
            m_currentBlock = static_cast<int>(address / 8);
            m_state = State::AwaitReadAck;
            std::vector<std::uint8_t> reply = {'W', frame[1], frame[2], 0x08};
            for (std::size_t i = 0; i < 8; ++i)
                reply.push_back(address + i < kImageSize ? m_memory[address + i] : 0xFF);
            if (m_currentBlock == m_faults.shortReplyBlock)
                reply.resize(static_cast<std::size_t>(std::clamp(m_faults.shortReplyBytes, 0, 12)));
            return Answer(reply, false);
        }
        case State::WriteFrame: {
            const std::size_t address = static_cast<std::size_t>(frame[1] << 8 | frame[2]);
            m_currentBlock = static_cast<int>(address / 8);
            for (std::size_t i = 0; i < 8 && address + i < kImageSize; ++i) m_memory[address + i] = frame[4 + i];
            m_state = State::Command;
            ++m_blocksWritten;
            if (m_currentBlock == kLastBlock) m_writeCompleted = true;
            CountBlock();
            return Ack(m_currentBlock == m_faults.noWriteAckBlock);
        }
        case State::TuneFrame:
            m_tuning = TuningRecord{};
            m_tuning.item = frame[1];
            m_state = m_faults.tuningNakStep == 11 ? State::Command : State::TuneF1;
            m_frameSize = 8;
            return Answer({static_cast<std::uint8_t>(m_faults.tuningNakStep == 11 ? 'N' : 'H')}, true);
        case State::TuneF1:
            m_tuning.f1 = frame;
            m_state = m_faults.tuningNakStep == 13 ? State::Command : State::TuneF2;
            return Answer({static_cast<std::uint8_t>(m_faults.tuningNakStep == 13 ? 'N' : 'H')}, true);
        case State::TuneF2:
            m_tuning.f2 = frame;
            m_state = State::Command;
            m_finishedTuning = m_tuning;
            return Answer({static_cast<std::uint8_t>(m_faults.tuningNakStep == 15 ? 'N' : 'H')}, true);
        default: return {};
    }
}
