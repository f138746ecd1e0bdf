#include "ui/Messenger.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMetaObject>
#include <QMessageBox>
#include <QPushButton>
#include <utility>
#include <vector>

#include "ui/DialogFrame.h"
#include "ui/FileListTexts.h"
#include "res/QtText.h"

namespace {

constexpr int kTextFieldChars = 80;

Messenger::MessageHandler& MessageHook() {
    static Messenger::MessageHandler hook;
    return hook;
}

// The parents whose questions were withdrawn while they were shown.
QList<QWidget*>& Withdrawn() {
    static QList<QWidget*> parents;
    return parents;
}

Messenger::FileHandler& FileHook() {
    static Messenger::FileHandler hook;
    return hook;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information: return QMessageBox::Information;
        case MessageIcon::Warning: return QMessageBox::Warning;
        case MessageIcon::Question: return QMessageBox::Question;
        case MessageIcon::Critical: return QMessageBox::Critical;
        case MessageIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The layout choice among the name filters of a CSV save dialog, the
// renumber box below the file list of a CSV open dialog; both need Qt's own
// dialog rather than the desktop's.
void OfferCsvChoice(QFileDialog& dialog, const FileRequest& request, QCheckBox*& renumber) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (request.kind == FileRequestKind::Save) {
        dialog.setNameFilters({QTr(TextId::CsvOwnFilter), QTr(TextId::CsvChirpFilter)});
        if (request.csvChoice->chirpLayout) dialog.selectNameFilter(QTr(TextId::CsvChirpFilter));
        return;
    }
    renumber = new QCheckBox(QTr(TextId::CsvRenumber), &dialog);
    renumber->setObjectName(QStringLiteral("renumber"));
    renumber->setChecked(request.csvChoice->renumber);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(renumber, grid->rowCount(), 0, 1, grid->columnCount());
}

QString RunFileDialog(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent);
    dialog.setProxyModel(new CFileListTexts(&dialog));
    dialog.setNameFilter(request.csv ? QTr(TextId::CsvOwnFilter) : QTr(TextId::FileFilter));
    dialog.setDefaultSuffix(request.csv ? QStringLiteral("csv") : QStringLiteral("sin"));
    if (request.kind == FileRequestKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.selectFile(request.proposedName);
        dialog.setWindowTitle(QTr(TextId::FileDialogSaveAs));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
        if (!request.proposedName.isEmpty()) dialog.setDirectory(request.proposedName);
        dialog.setWindowTitle(request.caption.isEmpty() ? QTr(TextId::FileDialogOpen) : request.caption);
    }
    QCheckBox* renumber = nullptr;
    if (request.csvChoice) OfferCsvChoice(dialog, request, renumber);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    if (renumber) request.csvChoice->renumber = renumber->isChecked();
    if (request.csvChoice && request.kind == FileRequestKind::Save)
        request.csvChoice->chirpLayout = dialog.selectedNameFilter() == QTr(TextId::CsvChirpFilter);
    return dialog.selectedFiles().first();
}

}  // namespace

namespace {
// Shows the box, or hands the request to the test's handler.
Answer AskModal(QWidget* parent, MessageRequest request);
}  // namespace

namespace Messenger {

void SetMessageHandler(MessageHandler handler) { MessageHook() = std::move(handler); }
void SetFileHandler(FileHandler handler) { FileHook() = std::move(handler); }

Answer Ask(QWidget* parent, const Question& question) {
    return Show(parent, MessageRequest{QString::fromStdString(question.text), QString(), question.buttons,
                                       question.warning ? MessageIcon::Warning : MessageIcon::Question,
                                       question.cancelIsDefault});
}

Answer Show(QWidget* parent, const Failure& failure, MessageIcon icon) {
    return Show(parent, QString::fromStdString(Describe(failure)), Buttons::Ok, icon);
}

Answer Show(QWidget* parent, const QString& text, Buttons buttons, MessageIcon icon, const QString& caption) {
    return Show(parent, MessageRequest{text, caption, buttons, icon});
}

void Withdraw(QWidget* parent) {
    Withdrawn().append(parent);
    if (!parent) return;
    for (QMessageBox* box : parent->findChildren<QMessageBox*>())
        if (box->property("messenger").toBool()) box->done(QMessageBox::Cancel);
}

Answer Show(QWidget* parent, MessageRequest request) {
    Withdrawn().removeAll(parent);
    const Answer answer = AskModal(parent, request);
    return Withdrawn().removeAll(parent) > 0 ? Answer::Cancel : answer;
}

}  // namespace Messenger

namespace {

Answer AskModal(QWidget* parent, MessageRequest request) {
    if (request.caption.isEmpty()) request.caption = QTr(TextId::AppTitle);
    if (MessageHook()) return MessageHook()(request);

    QMessageBox box(ToQt(request.icon), request.caption, request.text, QMessageBox::NoButton, parent);
    // Each button with the answer it gives.
    std::vector<std::pair<QAbstractButton*, Answer>> answers;
    const auto add = [&](QAbstractButton* button, Answer answer) {
        answers.emplace_back(button, answer);
        return button;
    };
    const auto cancel = [&] { return add(box.addButton(QMessageBox::Cancel), Answer::Cancel); };
    switch (request.buttons) {
        case Buttons::Ok: add(box.addButton(QMessageBox::Ok), Answer::Ok); break;
        case Buttons::OkCancel:
            add(box.addButton(QMessageBox::Ok), Answer::Ok);
            cancel();
            break;
        case Buttons::RetryCancel:
            add(box.addButton(QMessageBox::Retry), Answer::Retry);
            cancel();
            break;
        case Buttons::SaveDiscardCancel:
            add(box.addButton(QMessageBox::Save), Answer::Save);
            add(box.addButton(QMessageBox::Discard), Answer::Discard);
            cancel();
            break;
        case Buttons::OverwriteCancel:
            add(box.addButton(QMessageBox::Ok), Answer::Ok)->setText(QTr(TextId::BoxOverwrite));
            cancel()->setText(QTr(TextId::ButtonCancel));
            break;
        case Buttons::EmptyKeepCancel:
            // 清空 and 保留 are two answers of one kind: the box keeps them in
            // the order given, as the page does, whatever the desktop's
            // convention for Yes and OK.
            add(box.addButton(QTr(TextId::ButtonEmptyChannels), QMessageBox::AcceptRole), Answer::Ok);
            add(box.addButton(QTr(TextId::ButtonKeepChannels), QMessageBox::AcceptRole), Answer::Keep);
            cancel()->setText(QTr(TextId::ButtonCancel));
            break;
    }
    const Answer preferred = DefaultAnswer(request.buttons, request.cancelIsDefault);
    for (const auto& [button, answer] : answers)
        if (answer == preferred) box.setDefaultButton(qobject_cast<QPushButton*>(button));
    box.setProperty("messenger", true);
    ShowCloseButtonOnly(&box);
    FitMessageBox(&box);
    box.exec();
    for (const auto& [button, answer] : answers)
        if (button == box.clickedButton()) return answer;
    return Answer::Cancel;  // the close button
}

}  // namespace

namespace Messenger {

Answer ShowFromWorker(QWidget* parent, const QString& text, Buttons buttons, MessageIcon icon) {
    Answer answer = Answer::Cancel;
    QMetaObject::invokeMethod(
        parent, [&] { answer = Show(parent, text, buttons, icon); }, Qt::BlockingQueuedConnection);
    return answer;
}

QString AskOpenFile(QWidget* parent, bool csv, CsvChoice* csvChoice, const QString& caption, const QString& folder) {
    FileRequest request{FileRequestKind::Open, folder, QString(), csv, csvChoice, caption};
    return FileHook() ? FileHook()(request) : RunFileDialog(parent, request);
}

QString AskSaveFile(QWidget* parent, const QString& proposedName, bool csv, CsvChoice* csvChoice) {
    FileRequest request{FileRequestKind::Save, proposedName, QString(), csv, csvChoice, QString()};
    return FileHook() ? FileHook()(request) : RunFileDialog(parent, request);
}

QString AskText(QWidget* parent, const QString& label, const QString& initial) {
    FileRequest request{FileRequestKind::Text, initial, label, false, nullptr, QString()};
    if (FileHook()) return FileHook()(request);
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QTr(TextId::AppTitle));
    dialog.setLabelText(label);
    dialog.setTextValue(initial);
    ShowCloseButtonOnly(&dialog);
    FitCaption(&dialog);
    // Room for a long device path such as /dev/serial/by-id/usb-…-if00-port0.
    if (auto* field = dialog.findChild<QLineEdit*>())
        field->setMinimumWidth(field->fontMetrics().averageCharWidth() * kTextFieldChars);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue().trimmed() : QString();
}

}  // namespace Messenger
