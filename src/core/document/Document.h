#pragma once
// The one open document of a window: its working copy (the editing session),
// the file it belongs to, and the decisions every front end takes the same
// way around them: the question before unsaved changes are lost, the question
// before saving over a file someone else changed, what opening, saving, a CSV
// import and a read from the radio do to it. A front end shows the questions
// it is given and passes the answers back; it keeps no copy of the image and
// no modified mark of its own.
#include <optional>
#include <string>
#include <string_view>

#include "csv/CsvImportFlow.h"
#include "editor/EditSession.h"
#include "image/FileAccess.h"
#include "image/SinFile.h"
#include "interaction/Question.h"
#include "res/Failure.h"

// What an answer to the question about unsaved changes means.
enum class AfterAsking {
    SaveFirst,  // save, and go on only when the save succeeded
    Go,         // go on; the changes are dropped
    Stop,       // leave everything as it is
};

struct OpenOutcome {
    std::optional<Failure> failure;  // nothing changed
    std::optional<Clause> warning;   // opened; bytes after the radio data were left out
    bool empty = false;              // an empty file: opened, and nothing changed
};

class Document {
public:
    // A new, untitled document.
    Document() = default;

    EditSession& Session() { return m_session; }
    const EditSession& Session() const { return m_session; }
    bool IsModified() const { return m_session.IsModified(); }
    // The file's path (the page: its name); empty while untitled.
    const std::string& Path() const { return m_path; }
    // The file's name, or "无标题".
    std::string Title() const;

    // Asked before anything replaces a modified document (New, Open, a recent
    // file, a history entry, a dropped file, Exit); none when nothing would be lost.
    std::optional<Question> SaveQuestion() const;
    static AfterAsking After(Answer answer);

    // New: the new-document defaults, untitled, not modified.
    void New();
    // An untitled document holding `image` (an entry of the history).
    void NewHolding(const RadioImage& image);
    // Opens the file at `path` (the page: the bytes of the file it chose). On
    // a failure, and for an empty file, the document stays as it was; `path`
    // becomes the document's file otherwise. A reload passes the document's own path.
    OpenOutcome Open(const std::string& path);
    OpenOutcome Open(const std::string& name, std::string_view bytes);

    // Asked before saving over the document's own file when it was changed on
    // disk since it was opened or saved here; none otherwise.
    std::optional<Question> OverwriteQuestion(const std::string& path) const;
    // A file written beside the document (an exported CSV, a printed PDF)
    // may not take the place of the document's own file, which the document
    // would still count as saved: the refusal, or none.
    std::optional<Failure> RefuseOwnFile(const std::string& path) const;
    // Saves to `path` whole or not at all; then `path` is the document's file
    // and the working copy its saved state.
    std::optional<Failure> SaveAs(const std::string& path);
    // The bytes a save writes, and the mark once a front end wrote them itself
    // (the page, through the browser) to the file called `name`.
    std::string SaveBytes() const;
    void Saved(const std::string& name);

    // A CSV import into the working copy: ask its questions, then Apply it.
    CsvImportFlow ImportCsv(std::string csv, bool renumber) const;
    // One undo step when the import was applied; no change otherwise.
    EditResult Apply(const CsvImportFlow& flow);

    // The radio's memory after a read replaces what the user had, as one undo
    // step even when nothing differs; a write sends what a save would write.
    EditResult ReadReplaces(const RadioImage& radio);
    RadioImage ImageForWrite() const { return m_session.ImageForSave(); }

private:
    // A loaded file becomes the document named `path`; nothing changes otherwise.
    OpenOutcome Take(const std::string& path, const SinLoadResult& loaded, const RadioImage& image);

    EditSession m_session;
    std::string m_path;
    FileStamp m_stamp;  // of the file as last opened or saved here
};
