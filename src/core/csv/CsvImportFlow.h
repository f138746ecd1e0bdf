#pragma once
// An import of a CSV channel list as a window runs it: the questions it puts
// to the person before anything changes, one at a time, and what each answer
// does. Every front end shows the questions and passes the answers back.
#include <optional>
#include <string>

#include "csv/ChannelCsv.h"
#include "interaction/Question.h"

class CsvImportFlow {
public:
    // `target` is the image the import goes into: the working copy as a save
    // would write it.
    CsvImportFlow(std::string csv, const RadioImage& target, bool renumber);

    // The question to ask now; none once the import is decided. First the
    // refused lines (import only the valid ones?), then the channels in use
    // the file does not name (empty them, keep them, or cancel).
    std::optional<::Question> Question() const;
    void Reply(::Answer answer);

    // The import is decided: applied, refused whole, or cancelled by an answer.
    bool Applied() const { return !m_cancelled && m_result.applied; }
    bool Cancelled() const { return m_cancelled; }
    bool Refused() const { return m_result.refusedWhole; }
    // The target with the file's channels, once applied.
    const RadioImage& Image() const { return m_image; }
    // What to tell the person at the end: the summary, or why nothing
    // could be imported; empty when cancelled.
    std::string Message() const;

private:
    void Run();

    std::string m_csv;
    RadioImage m_target;
    RadioImage m_image;
    CsvImportOptions m_options;
    CsvImport m_result;
    bool m_emptyingAgreed = false;
    bool m_cancelled = false;
};
