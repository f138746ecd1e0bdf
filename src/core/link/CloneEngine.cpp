#include "link/CloneEngine.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "res/Texts.h"

namespace {

constexpr std::uint8_t kAck = 0x06;
constexpr std::uint8_t kHello[] = {0x02, 'P', 'R', 'O', 'G', 'R', 'A'};
constexpr int kAttemptsPerSeries = 15;
constexpr int kAckWriteTries = 3;

}  // namespace

std::string StoppedWriteText(int blocks) { return TrFormat(TextId::StoppedWrite, {std::to_string(blocks)}); }

std::string StoppedUnsureText(int blocks) {
    return TrFormat(TextId::StoppedWriteUnsure, {std::to_string(blocks), std::to_string(blocks + 1)});
}

bool StoppingWriteAsks(CloneDirection running, int progress) {
    return running == CloneDirection::Write && progress > 0;
}

CloneEngine::CloneEngine(ISerialLink& link, IClock& clock, IUserInteraction& ui)
    : m_link(link), m_clock(clock), m_ui(ui) {}

CloneResult CloneEngine::Run(CloneDirection direction, const std::string& port, const RadioImage& image) {
    CloneResult result;
    m_bCheckType = true;
    m_portLost = false;
    m_progress = 0;
    m_port = port;
    const OpenError error = m_link.Open(port, kCloneTimeouts);
    if (error != OpenError::None) {
        m_ui.SetWatch(false);
        m_ui.Ask(OpenFailureMessage(error, port, m_link.HolderPid()), Buttons::Ok);
        result.outcome = CloneOutcome::PortUnavailable;
        return result;
    }
    m_ui.SetStatus(Tr(TextId::LinkChecking));
    std::fill(std::begin(m_reply), std::end(m_reply), 0);
    m_attempt = 1;

    Step step = Step::Handshake;
    while (step != Step::End && step != Step::Linked) {
        switch (step) {
            case Step::Handshake: step = Handshake(result); break;
            case Step::Identified: step = Identify(direction, image, result); break;
            case Step::Acknowledge: step = Acknowledge(result); break;
            case Step::CommError: step = CommErrorBox(result); break;
            default: break;
        }
    }
    if (step == Step::Linked) {
        if (direction == CloneDirection::Read) {
            RadioImage scratch = image;
            ReadBlocks(scratch, result);
            if (result.outcome == CloneOutcome::Completed) result.image = scratch;
        } else {
            WriteBlocks(image, result);
        }
    }
    m_link.Close();
    return result;
}

bool CloneEngine::YieldsWithPauses(int count) {
    for (int i = 0; i < count; ++i) {
        if (m_ui.Cancelled()) return false;
        m_clock.PauseMs(1);
    }
    return true;
}

void CloneEngine::WriteByteAfterPause(std::uint8_t byte) {
    m_clock.PauseMs(1);
    m_link.Purge();
    m_link.Write(&byte, 1);
}

ReadResult CloneEngine::Read(std::uint8_t* buffer, std::size_t size) {
    const ReadResult r = m_link.Read(buffer, size);
    m_portLost = !r.ok;
    return r;
}

bool CloneEngine::ReadAck() {
    std::uint8_t byte = 0;
    const ReadResult r = Read(&byte, 1);
    return r.ok && r.count == 1 && byte == kAck;
}

void CloneEngine::Fail(CloneResult& result, CloneOutcome outcome, const std::string& text) {
    m_ui.SetWatch(false);
    m_ui.Ask(text, Buttons::Ok);
    result.outcome = outcome;
}

CloneEngine::Step CloneEngine::Handshake(CloneResult& result) {
    for (;;) {
        if (!YieldsWithPauses(7)) {
            result.outcome = CloneOutcome::Cancelled;
            return Step::End;
        }
        m_ui.SetStatus(Tr(TextId::LinkWaiting));
        m_link.Purge();
        for (std::uint8_t byte : kHello) WriteByteAfterPause(byte);
        std::uint8_t byte = 0;
        ReadResult r = Read(&byte, 1);
        bool acked = r.ok && r.count == 1 && byte == kAck;
        if (r.ok && !acked) acked = ReadAck();
        if (acked) break;
        m_clock.PauseMs(2);
        if (++m_attempt > kAttemptsPerSeries) return Step::CommError;
    }
    WriteByteAfterPause('M');
    WriteByteAfterPause(0x02);
    const ReadResult id = Read(m_reply, 8);
    // An identification of fewer than 8 bytes is no identification.
    if (!id.ok || id.count < 8) return Step::CommError;
    return Step::Identified;
}

CloneEngine::Step CloneEngine::Identify(CloneDirection direction, const RadioImage& image, CloneResult& result) {
    const std::uint8_t radioType = m_reply[4];
    result.radioType = radioType;
    if (direction != CloneDirection::Write || !m_bCheckType) return Step::Acknowledge;
    if (radioType == 0xFF || radioType == image[addr::kRadioType]) return Step::Acknowledge;
    m_ui.SetWatch(false);
    if (m_ui.Ask(Tr(TextId::LinkTypeMismatch), Buttons::OkCancel) == Answer::Cancel) {
        result.outcome = CloneOutcome::TypeRefused;
        return Step::End;
    }
    m_bCheckType = false;
    m_ui.SetWatch(true);
    if (!YieldsWithPauses(351)) {
        result.outcome = CloneOutcome::Cancelled;
        return Step::End;
    }
    m_attempt = 1;
    return Step::Handshake;
}

CloneEngine::Step CloneEngine::Acknowledge(CloneResult& result) {
    const std::uint8_t ack = kAck;
    int tries = 1;
    m_link.Purge();
    while (!m_link.Write(&ack, 1)) {
        m_ui.SetWatch(false);
        m_ui.Ask(Tr(TextId::LinkSendError), Buttons::Ok);
        if (++tries > kAckWriteTries) return Step::CommError;
        m_link.Purge();
    }
    std::uint8_t byte = 0;
    const ReadResult r = Read(&byte, 1);
    if (!r.ok) return Step::CommError;
    if (r.count == 1 && byte == kAck) return Step::Linked;
    m_ui.SetWatch(true);
    if (!YieldsWithPauses(601)) {
        result.outcome = CloneOutcome::Cancelled;
        return Step::End;
    }
    return Step::CommError;
}

CloneEngine::Step CloneEngine::CommErrorBox(CloneResult& result) {
    m_ui.SetWatch(false);
    if (m_ui.Ask(Tr(TextId::LinkCommError), Buttons::RetryCancel) != Answer::Retry) {
        // A cable pulled is said as such, not as a radio that did not answer.
        result.outcome = m_portLost ? CloneOutcome::PortLost : CloneOutcome::NoLink;
        return Step::End;
    }
    // The cable plugged back in: the retry opens the port again; not back
    // yet, the next retry tries once more.
    if (std::exchange(m_portLost, false) && !ReopenLostPort(m_link, m_clock, m_port, kCloneTimeouts, m_ui)) {
        m_portLost = true;
        return Step::CommError;
    }
    m_attempt = 1;
    m_ui.SetWatch(true);
    return Step::Handshake;
}

void CloneEngine::Progress(int limit) {
    if (m_progress > limit) return;
    ++m_progress;
    m_ui.SetProgress(m_progress);
    m_ui.SetStatus(std::to_string(m_progress));
}

void CloneEngine::ReadBlocks(RadioImage& scratch, CloneResult& result) {
    for (int k = 0; k < kBlockCount; ++k) {
        const int address = k * kBlockSize;
        const std::uint8_t frame[4] = {'R', static_cast<std::uint8_t>(address >> 8),
                                       static_cast<std::uint8_t>(address & 0xFF), kBlockSize};
        m_link.Purge();
        m_link.Write(frame, sizeof frame);
        std::uint8_t reply[12] = {};
        const ReadResult r = Read(reply, sizeof reply);
        if (!r.ok) return Fail(result, CloneOutcome::PortLost, Tr(TextId::LinkCableLost));
        // Every data byte must arrive: a reply short of one would leave bytes
        // of the document where the radio's belong, in a read said to be whole.
        if (r.count < sizeof reply) return Fail(result, CloneOutcome::ShortReply, Tr(TextId::LinkShortReply));
        std::copy(reply + 4, reply + sizeof reply, scratch.begin() + address);
        Progress(261);
        m_clock.PauseMs(15);
        m_link.Purge();
        const std::uint8_t ack = kAck;
        m_link.Write(&ack, 1);
        if (!ReadAck()) {
            if (m_portLost) return Fail(result, CloneOutcome::PortLost, Tr(TextId::LinkCableLost));
            return Fail(result, CloneOutcome::ReadAckMissing, Tr(TextId::LinkReadAck));
        }
        result.blocks = k + 1;
        m_ui.SetWatch(true);
        if (m_ui.Cancelled()) {
            result.outcome = CloneOutcome::Cancelled;
            return;
        }
        m_clock.PauseMs(5);
    }
    m_ui.SetWatch(false);
    m_ui.SetProgress(kBlockCount);
    result.outcome = CloneOutcome::Completed;
}

void CloneEngine::WriteBlocks(const RadioImage& image, CloneResult& result) {
    for (int k = 0; k < kBlockCount; ++k) {
        const int address = k * kBlockSize;
        const std::uint8_t frame[4] = {'W', static_cast<std::uint8_t>(address >> 8),
                                       static_cast<std::uint8_t>(address & 0xFF), kBlockSize};
        m_link.Purge();
        m_link.Write(frame, sizeof frame);
        m_clock.PauseMs(1);
        m_link.Purge();
        m_link.Write(image.data() + address, kBlockSize);
        if (!ReadAck()) {
            const bool lost = m_portLost;
            return Fail(result, lost ? CloneOutcome::PortLost : CloneOutcome::WriteAckMissing,
                        std::string(Tr(lost ? TextId::LinkCableLost : TextId::LinkWriteAck)) + "\n" +
                            StoppedUnsureText(result.blocks));
        }
        result.blocks = k + 1;
        Progress(263);
        m_ui.SetWatch(true);
        if (m_ui.Cancelled()) return Fail(result, CloneOutcome::Cancelled, StoppedWriteText(result.blocks));
        m_clock.PauseMs(1);
    }
    m_ui.SetProgress(kBlockCount);
    m_ui.SetWatch(false);
    result.outcome = CloneOutcome::Completed;
}

std::optional<std::string> TransferStatusText(CloneDirection direction, CloneOutcome outcome, const std::string& port,
                                              long long elapsedMs) {
    if (outcome == CloneOutcome::Completed) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(elapsedMs) / 1000.0);
        return TrFormat(direction == CloneDirection::Write ? TextId::WriteDone : TextId::ReadDone, {port, seconds});
    }
    if (direction == CloneDirection::Read && outcome == CloneOutcome::Cancelled) return Tr(TextId::ReadCancelled);
    return std::nullopt;
}
