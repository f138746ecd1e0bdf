#pragma once
// The record of a session of writes: one entry per radio with its time, its
// port, its identification, the outcome and the blocks written; the count of
// radios written; the lines, the summary and the CSV file every front end
// shows in the user's language.
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "link/CloneEngine.h"

using LogClock = std::chrono::system_clock;

struct WriteLogEntry {
    LogClock::time_point time;
    std::string port;
    int radioType = -1;  // -1: the radio never identified itself
    CloneOutcome outcome = CloneOutcome::Cancelled;
    int blocks = 0;

    bool Written() const { return outcome == CloneOutcome::Completed; }
};

// The outcome in a few words, as a log or a summary names it.
const char* CloneOutcomeText(CloneOutcome outcome);

// Whether a file's bytes are a write log (or nothing yet) that lines may be added to.
bool IsWriteLogText(const std::string& text);

class WriteLog {
public:
    // Adds the entry of the transfer that just ended on `port`.
    const WriteLogEntry& Add(const std::string& port, const CloneResult& result,
                             LogClock::time_point time = LogClock::now());
    void Clear() { m_entries.clear(); }

    const std::vector<WriteLogEntry>& Entries() const { return m_entries; }
    int WrittenCount() const;
    int FailedCount() const;
    bool AllWritten() const { return FailedCount() == 0; }

    // "已写 7 台"
    std::string CountText() const;
    // The summary: how many radios, how many written, how many failed, then
    // one line per failed radio naming its port and its reason.
    std::string SummaryText() const;
    // The CSV file of this log, header first.
    std::string Csv() const;
    // `existing` (a log file's bytes, possibly none) with this log's lines
    // added in the language of its header; a header only when the file was
    // empty. Nothing when `existing` is not a write log: it is left alone.
    std::optional<std::string> AppendedTo(const std::string& existing) const;

    // One entry as a line of text; as CSV fields.
    static std::string EntryText(const WriteLogEntry& entry);
    static std::vector<std::string> EntryFields(const WriteLogEntry& entry);
    // Why a radio was not written, in a few words with the blocks written.
    static std::string Reason(const WriteLogEntry& entry);
    // The port of a radio not written and the reason.
    static std::string FailureText(const WriteLogEntry& entry);

private:
    std::vector<WriteLogEntry> m_entries;
};
