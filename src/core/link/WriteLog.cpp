#include "link/WriteLog.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "csv/CsvWriter.h"
#include "res/Texts.h"

namespace {

std::string LocalTime(LogClock::time_point time, const char* format) {
    const std::time_t t = LogClock::to_time_t(time);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, format, &local);
    return text;
}

CsvFields Header() {
    return {Tr(TextId::LogColumnTime), Tr(TextId::LogColumnPort), Tr(TextId::LogColumnIdent),
            Tr(TextId::LogColumnOutcome), Tr(TextId::LogColumnBlocks)};
}

}  // namespace

const char* CloneOutcomeText(CloneOutcome outcome) {
    switch (outcome) {
        case CloneOutcome::Completed: return Tr(TextId::OutcomeCompleted);
        case CloneOutcome::Cancelled: return Tr(TextId::OutcomeCancelled);
        case CloneOutcome::PortUnavailable: return Tr(TextId::OutcomePortUnavailable);
        case CloneOutcome::NoLink: return Tr(TextId::OutcomeNoLink);
        case CloneOutcome::TypeRefused: return Tr(TextId::OutcomeTypeRefused);
        case CloneOutcome::ShortReply: return Tr(TextId::LinkShortReply);
        case CloneOutcome::PortLost: return Tr(TextId::LinkCableLost);
        case CloneOutcome::ReadAckMissing:
        case CloneOutcome::WriteAckMissing: return Tr(TextId::OutcomeAckMissing);
    }
    return "";
}

const WriteLogEntry& WriteLog::Add(const std::string& port, const CloneResult& result, LogClock::time_point time) {
    m_entries.push_back(WriteLogEntry{time, port, result.radioType, result.outcome, result.blocks});
    return m_entries.back();
}

int WriteLog::WrittenCount() const {
    return static_cast<int>(
        std::count_if(m_entries.begin(), m_entries.end(), [](const WriteLogEntry& e) { return e.Written(); }));
}

int WriteLog::FailedCount() const { return static_cast<int>(m_entries.size()) - WrittenCount(); }

std::string WriteLog::CountText() const { return TrFormat(TextId::LogWrittenCount, {std::to_string(WrittenCount())}); }

std::string WriteLog::Reason(const WriteLogEntry& entry) {
    return TrFormat(TextId::OutcomeBlocks, {CloneOutcomeText(entry.outcome), std::to_string(entry.blocks)});
}

std::string WriteLog::FailureText(const WriteLogEntry& entry) {
    return TrFormat(TextId::LogFailure, {entry.port, Reason(entry)});
}

std::string WriteLog::EntryText(const WriteLogEntry& entry) {
    const std::string ident = entry.radioType < 0 ? Tr(TextId::LogNoIdent) : RadioTypeText(entry.radioType);
    return TrFormat(TextId::LogEntry, {LocalTime(entry.time, "%H:%M:%S"), entry.port, ident,
                                       CloneOutcomeText(entry.outcome), std::to_string(entry.blocks)});
}

std::vector<std::string> WriteLog::EntryFields(const WriteLogEntry& entry) {
    return {LocalTime(entry.time, "%Y-%m-%d %H:%M:%S"), entry.port, RadioTypeText(entry.radioType),
            CloneOutcomeText(entry.outcome), std::to_string(entry.blocks)};
}

std::string WriteLog::SummaryText() const {
    std::string text = TrFormat(TextId::LogSummary, {std::to_string(m_entries.size()), std::to_string(WrittenCount()),
                                                     std::to_string(FailedCount())});
    for (const WriteLogEntry& entry : m_entries)
        if (!entry.Written()) text += "\n" + FailureText(entry);
    return text;
}

std::string WriteLog::Csv() const { return AppendedTo(""); }

std::string WriteLog::AppendedTo(const std::string& existing) const {
    std::vector<CsvFields> rows;
    for (const WriteLogEntry& entry : m_entries) rows.push_back(EntryFields(entry));
    if (existing.empty()) return CsvText(Header(), rows);
    std::string text = existing;
    if (text.back() != '\n') text += "\r\n";
    return text + CsvRows(rows);
}
