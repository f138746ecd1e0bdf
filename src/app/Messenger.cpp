#include "app/Messenger.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMetaObject>
#include <QMessageBox>
#include <QPushButton>

#include "res/QtText.h"

namespace {

Messenger::MessageHandler& MessageHook() {
    static Messenger::MessageHandler hook;
    return hook;
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

QString RunFileDialog(QWidget* parent, const FileRequest& request) {
    QFileDialog dialog(parent);
    dialog.setNameFilter(request.csv ? QStringLiteral("CSV 文件 (*.csv)") : QTr(TextId::FileFilter));
    dialog.setDefaultSuffix(request.csv ? QStringLiteral("csv") : QStringLiteral("sin"));
    if (request.kind == FileRequestKind::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.selectFile(request.proposedName);
        dialog.setWindowTitle(QStringLiteral("另存为"));
    } else {
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setWindowTitle(QStringLiteral("打开"));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().first();
}

}  // namespace

namespace Messenger {

void SetMessageHandler(MessageHandler handler) { MessageHook() = std::move(handler); }
void SetFileHandler(FileHandler handler) { FileHook() = std::move(handler); }

Answer Show(QWidget* parent, const QString& text, Buttons buttons, MessageIcon icon, const QString& caption) {
    MessageRequest request{text, caption.isEmpty() ? QTr(TextId::AppTitle) : caption, buttons, icon};
    if (MessageHook()) return MessageHook()(request);

    QMessageBox box(ToQt(icon), request.caption, text, QMessageBox::NoButton, parent);
    switch (buttons) {
        case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case Buttons::RetryCancel: box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel); break;
        case Buttons::SaveDiscardCancel:
            box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Ok: return Answer::Ok;
        case QMessageBox::Retry: return Answer::Retry;
        case QMessageBox::Save: return Answer::Save;
        case QMessageBox::Discard: return Answer::Discard;
        default: return Answer::Cancel;
    }
}

Answer ShowFromWorker(QWidget* parent, const QString& text, Buttons buttons) {
    Answer answer = Answer::Cancel;
    QMetaObject::invokeMethod(
        parent, [&] { answer = Show(parent, text, buttons, MessageIcon::Warning); }, Qt::BlockingQueuedConnection);
    return answer;
}

QString AskOpenFile(QWidget* parent, bool csv) {
    FileRequest request{FileRequestKind::Open, QString(), QString(), csv};
    return FileHook() ? FileHook()(request) : RunFileDialog(parent, request);
}

QString AskSaveFile(QWidget* parent, const QString& proposedName, bool csv) {
    FileRequest request{FileRequestKind::Save, proposedName, QString(), csv};
    return FileHook() ? FileHook()(request) : RunFileDialog(parent, request);
}

QString AskText(QWidget* parent, const QString& label, const QString& initial) {
    FileRequest request{FileRequestKind::Text, initial, label, false};
    if (FileHook()) return FileHook()(request);
    bool ok = false;
    const QString text = QInputDialog::getText(parent, QTr(TextId::AppTitle), label, QLineEdit::Normal, initial, &ok);
    return ok ? text.trimmed() : QString();
}

}  // namespace Messenger
