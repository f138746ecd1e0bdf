#include "link/WriteLog.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "csv/CsvReader.h"
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

CsvFields Header(Lang lang) {
    return {Tr(TextId::LogColumnTime, lang), Tr(TextId::LogColumnPort, lang), Tr(TextId::LogColumnIdent, lang),
            Tr(TextId::LogColumnOutcome, lang), Tr(TextId::LogColumnBlocks, lang)};
}

const char* OutcomeText(CloneOutcome outcome, Lang lang) {
    switch (outcome) {
        case CloneOutcome::Completed: return Tr(TextId::OutcomeCompleted, lang);
        case CloneOutcome::Cancelled: return Tr(TextId::OutcomeCancelled, lang);
        case CloneOutcome::PortUnavailable: return Tr(TextId::OutcomePortUnavailable, lang);
        case CloneOutcome::NoLink: return Tr(TextId::OutcomeNoLink, lang);
        case CloneOutcome::TypeRefused: return Tr(TextId::OutcomeTypeRefused, lang);
        case CloneOutcome::ShortReply: return Tr(TextId::LinkShortReply, lang);
        case CloneOutcome::PortLost: return Tr(TextId::LinkCableLost, lang);
        case CloneOutcome::ReadAckMissing:
        case CloneOutcome::WriteAckMissing: return Tr(TextId::OutcomeAckMissing, lang);
        case CloneOutcome::BackupNotKept: return Tr(TextId::OutcomeBackupNotKept, lang);
        case CloneOutcome::BackupUnfinished: return Tr(TextId::OutcomeBackupUnfinished, lang);
    }
    return "";
}

CsvFields Fields(const WriteLogEntry& entry, Lang lang) {
    return {LocalTime(entry.time, "%Y-%m-%d %H:%M:%S"), entry.port, RadioTypeText(entry.radioType),
            OutcomeText(entry.outcome, lang), std::to_string(entry.blocks)};
}

// The language of a write log's header line, or nothing when the file does
// not begin with one.
std::optional<Lang> HeaderLanguage(const CsvFileReading& reading) {
    if (reading.records.empty()) return std::nullopt;
    const CsvRecord& first = reading.records.front();
    for (Lang lang : {Lang::Zh, Lang::En}) {
        const CsvFields names = Header(lang);
        bool all = first.fields.size() == names.size();
        for (std::size_t i = 0; all && i < names.size(); ++i)
            all = CsvColumnIndex(first, names[i]) == static_cast<int>(i);
        if (all) return lang;
    }
    return std::nullopt;
}

}  // namespace

const char* CloneOutcomeText(CloneOutcome outcome) { return OutcomeText(outcome, CurrentLanguage()); }

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

std::vector<std::string> WriteLog::EntryFields(const WriteLogEntry& entry) { return Fields(entry, CurrentLanguage()); }

std::string WriteLog::SummaryText() const {
    std::string text = TrFormat(TextId::LogSummary, {std::to_string(m_entries.size()), std::to_string(WrittenCount()),
                                                     std::to_string(FailedCount())});
    for (const WriteLogEntry& entry : m_entries)
        if (!entry.Written()) text += "\n" + FailureText(entry);
    return text;
}

std::string WriteLog::Csv() const { return *AppendedTo(""); }

bool IsWriteLogText(const std::string& text) { return text.empty() || HeaderLanguage(ReadCsvFile(text)); }

std::optional<std::string> WriteLog::AppendedTo(const std::string& existing) const {
    const CsvFileReading reading = ReadCsvFile(existing);
    const std::optional<Lang> lang = existing.empty() ? CurrentLanguage() : HeaderLanguage(reading);
    if (!lang) return std::nullopt;
    std::vector<CsvFields> rows;
    for (const WriteLogEntry& entry : m_entries) rows.push_back(Fields(entry, *lang));
    if (existing.empty()) return CsvText(Header(*lang), rows);
    // A log a spreadsheet saved again as GB18030 is written out whole in
    // UTF-8, as every log is: new lines in another encoding would be garbled.
    if (reading.fromGb18030) {
        std::vector<CsvFields> all;
        for (std::size_t i = 1; i < reading.records.size(); ++i) all.push_back(reading.records[i].fields);
        all.insert(all.end(), rows.begin(), rows.end());
        return CsvText(Header(*lang), all);
    }
    std::string text = existing;
    if (text.back() != '\n') text += "\r\n";
    return text + CsvRows(rows);
}
