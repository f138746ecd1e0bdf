#pragma once
// The clone transfer: the handshake, the radio's identification, then the
// whole image as 264 blocks of 8 bytes, in either direction.
#include <optional>
#include <string>

#include "image/RadioImage.h"
#include "link/SerialLink.h"
#include "interaction/UserInteraction.h"
#include "res/Texts.h"

enum class CloneDirection { Read, Write };

enum class CloneOutcome {
    Completed,
    Cancelled,        // the user stopped it
    PortUnavailable,  // the port could not be opened
    NoLink,           // communication error, the user chose Cancel
    TypeRefused,      // another radio type, the user chose Cancel
    ShortReply,       // a read block brought fewer than its 12 bytes
    ReadAckMissing,
    WriteAckMissing,
    PortLost,          // the port failed during the blocks (the cable was pulled)
    BackupNotKept,     // the backup read before a write could not be kept: nothing was written
    BackupUnfinished,  // the backup read before a write did not finish: nothing was written
};

struct CloneResult {
    CloneOutcome outcome = CloneOutcome::Cancelled;
    int blocks = 0;      // blocks fully exchanged
    int radioType = -1;  // byte 4 of the radio's identification; -1 before one arrived
    RadioImage image{};  // after a completed read: the radio's memory
};

// The word for the status bar once a transfer on `port` ended: a completed
// one says how long it took ("读频完成：COM1，用时 3.2 秒"), a read the person
// stopped says so; a stopped write was asked about in its own window, and
// every other end is told by a box.
std::optional<std::string> TransferStatusText(CloneDirection direction, CloneOutcome outcome, const std::string& port,
                                              long long elapsedMs);

constexpr int kBlockCount = 264;
constexpr int kBlockSize = 8;

// The line added when a write stopped early: the radio holds the new data in
// its first `blocks` blocks and its old data after them.
std::string StoppedWriteText(int blocks);
// The same when block `blocks` (counted from 0) was sent and its answer never
// came: that block may hold either.
std::string StoppedUnsureText(int blocks);
// Whether stopping a write is asked about first: only while the write itself
// runs (`running`; a backup read before it has written nothing) and once a
// block has gone through (`progress`, the progress bar's position, above 0).
// While the radio is still awaited nothing has been written, and the write
// stops at once.
bool StoppingWriteAsks(CloneDirection running, int progress);

class CloneEngine {
public:
    CloneEngine(ISerialLink& link, IClock& clock, IUserInteraction& ui);

    // Runs one transfer on `port`. For a write, `image` is what is sent; a
    // write that stops once blocks were sent says what the radio now holds. For a
    // read, the blocks go into a copy of `image`, which the result carries only
    // when all 264 blocks arrived; the caller's image is never touched.
    CloneResult Run(CloneDirection direction, const std::string& port, const RadioImage& image);

private:
    enum class Step { Handshake, Identified, Acknowledge, Linked, CommError, End };

    Step Handshake(CloneResult& result);
    Step Identify(CloneDirection direction, const RadioImage& image, CloneResult& result);
    Step Acknowledge(CloneResult& result);
    Step CommErrorBox(CloneResult& result);
    void ReadBlocks(RadioImage& scratch, CloneResult& result);
    void WriteBlocks(const RadioImage& image, CloneResult& result);

    bool YieldsWithPauses(int count);  // false when the user cancelled
    void WriteByteAfterPause(std::uint8_t byte);
    // Every read of the radio's answers; a failed one means the port went away.
    ReadResult Read(std::uint8_t* buffer, std::size_t size);
    bool ReadAck();
    void Fail(CloneResult& result, CloneOutcome outcome, const std::string& text);
    void Progress(int limit);

    ISerialLink& m_link;
    IClock& m_clock;
    IUserInteraction& m_ui;
    bool m_bCheckType = true;
    std::string m_port;
    bool m_portLost = false;  // the last read found the port failed (the cable pulled)
    int m_attempt = 1;
    int m_progress = 0;
    std::uint8_t m_reply[20] = {};
};
