#pragma once
// The one way the program shows a message box or asks for a file name. Tests
// (and any window-less use) install a handler that sees the exact request and
// answers it; otherwise a modal Qt box is shown.
#include <QString>
#include <functional>

#include "interaction/Question.h"
#include "res/Failure.h"

class QWidget;

enum class MessageIcon { None, Information, Warning, Question, Critical };

struct MessageRequest {
    QString text;
    QString caption;
    Buttons buttons = Buttons::Ok;
    MessageIcon icon = MessageIcon::Warning;
    // Enter answers Cancel rather than the first button (questions whose
    // "yes" cannot be undone).
    bool cancelIsDefault = false;
};

enum class FileRequestKind { Open, Save, Text };

// What a CSV file dialog asks besides the file: the layout an export writes
// and whether an import numbers the channels 1, 2, 3… in file order.
struct CsvChoice {
    bool chirpLayout = false;
    bool renumber = false;
};

struct FileRequest {
    FileRequestKind kind = FileRequestKind::Open;
    QString proposedName;            // the folder an open starts in; for a text, the text shown at first
    QString label;                   // what a text is asked for
    bool csv = false;                // a CSV file rather than a .sin
    CsvChoice* csvChoice = nullptr;  // offered with the file and set to the answer
    QString caption;                 // the window's title, when not the usual one
};

namespace Messenger {

using MessageHandler = std::function<Answer(const MessageRequest&)>;
using FileHandler = std::function<QString(const FileRequest&)>;

// Installs handlers in place of the real boxes; an empty function restores them.
void SetMessageHandler(MessageHandler handler);
void SetFileHandler(FileHandler handler);

// A box with the application's caption "OstrelTZ写频软件" unless one is given.
Answer Show(QWidget* parent, const QString& text, Buttons buttons = Buttons::Ok,
            MessageIcon icon = MessageIcon::Warning, const QString& caption = QString());
// A question of the rules, with its buttons, as a warning or a question.
Answer Ask(QWidget* parent, const Question& question);
// A failure, put into words in the language spoken now.
Answer Show(QWidget* parent, const Failure& failure, MessageIcon icon = MessageIcon::Warning);
// The same for a request filled in by the caller; an empty caption is the
// application's.
Answer Show(QWidget* parent, MessageRequest request);

// Takes back a question shown over `parent` that no longer applies (the
// transfer it asked about ended): the box closes and Show returns Cancel,
// whatever was or is clicked.
void Withdraw(QWidget* parent);

// The same box asked for from a worker thread: shown on `parent`'s thread,
// the worker waits for the answer.
Answer ShowFromWorker(QWidget* parent, const QString& text, Buttons buttons, MessageIcon icon = MessageIcon::Warning);

// File dialogs with the ".sin" filter; an empty result means cancelled. With
// `csvChoice` a CSV dialog also offers the layout (save) or renumbering (open).
QString AskOpenFile(QWidget* parent, bool csv = false, CsvChoice* csvChoice = nullptr,
                    const QString& caption = QString(), const QString& folder = QString());
QString AskSaveFile(QWidget* parent, const QString& proposedName, bool csv = false, CsvChoice* csvChoice = nullptr);
// A line of text (a device path, a printer name); empty when cancelled.
QString AskText(QWidget* parent, const QString& label, const QString& initial);

}  // namespace Messenger
