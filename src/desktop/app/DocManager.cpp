#include "app/DocManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/MainFrm.h"
#include "ui/Messenger.h"
#include "editor/KeshView.h"
#include "csv/ChannelCsv.h"
#include "csv/CsvImportFlow.h"
#include "image/FileAccess.h"
#include "image/KeshDoc.h"
#include "res/Texts.h"
#include "res/QtText.h"

CDocManager::CDocManager(CKeshDoc* doc, CKeshView* view, CMainFrame* frame)
    : QObject(frame), m_doc(doc), m_view(view), m_frame(frame) {
    m_recent.Load();
    ShowRecentFiles();
}

void CDocManager::ShowRecentFiles() { m_frame->SetRecentFiles(m_recent.Files()); }

bool CDocManager::SaveModified() {
    if (!m_doc->IsModified()) return true;
    const QString question = QTr(TextId::AskSave).arg(m_doc->Title());
    switch (Messenger::Show(m_frame, question, Buttons::SaveDiscardCancel, MessageIcon::Question)) {
        case Answer::Save: return OnFileSave();
        case Answer::Discard: return true;
        default: return false;
    }
}

bool CDocManager::OnFileNew() {
    if (!SaveModified()) return false;
    m_doc->OnNewDocument();
    m_view->OnInitialUpdate();
    return true;
}

bool CDocManager::NewDocumentWith(const RadioImage& image) {
    if (!SaveModified()) return false;
    m_doc->OnNewDocument();
    m_doc->m_image = image;
    m_view->OnInitialUpdate();
    return true;
}

bool CDocManager::OnFileOpen() {
    const QString path = Messenger::AskOpenFile(m_frame);
    if (path.isEmpty()) return false;
    return OpenDocumentFile(path);
}

bool CDocManager::OpenDocumentFile(const QString& path) {
    if (!SaveModified()) return false;
    return OpenWithoutAsking(path);
}

bool CDocManager::OpenWithoutAsking(const QString& path) {
    QString error, warning;
    if (!m_doc->OnOpenDocument(path, &error, &warning)) {
        Messenger::Show(m_frame, error, Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    TakeName(path);
    m_view->OnInitialUpdate();
    if (!warning.isEmpty()) Messenger::Show(m_frame, warning, Buttons::Ok, MessageIcon::Warning);
    return true;
}

void CDocManager::TakeName(const QString& path) {
    m_doc->SetPathName(QFileInfo(path).absoluteFilePath());
    m_recent.Add(path);
    ShowRecentFiles();
}

bool CDocManager::OnFileSave() {
    if (m_doc->PathName().isEmpty()) return OnFileSaveAs();
    return DoSave(m_doc->PathName());
}

bool CDocManager::OnFileSaveAs() {
    QString path = Messenger::AskSaveFile(m_frame, m_doc->PathName().isEmpty() ? m_doc->Title() : m_doc->PathName());
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".sin");
    return DoSave(path);
}

bool CDocManager::DoSave(const QString& path) {
    // Another window or program may have saved the file since: ask before
    // the last save silently wins.
    if (QFileInfo(path).absoluteFilePath() == m_doc->PathName() && m_doc->ChangedOnDisk()) {
        const QString question = QString::fromStdString(TrFormat(TextId::FileChangedOnDisk, {path.toStdString()}));
        if (Messenger::Show(m_frame, question, Buttons::OverwriteCancel, MessageIcon::Warning) != Answer::Ok)
            return false;
    }
    QString error;
    if (!m_doc->OnSaveDocument(path, &error)) {
        Messenger::Show(m_frame, error, Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    TakeName(path);
    m_frame->ShowFeedback(QTr(TextId::Saved).arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath())));
    return true;
}

bool CDocManager::OnExportCsv() {
    QString path = Messenger::AskSaveFile(
        m_frame, QFileInfo(m_doc->Title()).completeBaseName() + QStringLiteral(".csv"), true, &m_csvChoice);
    if (path.isEmpty()) return false;
    const RadioImage image = m_view->ImageForSave();
    std::string error;
    const std::string csv = ExportChannelsCsv(image, m_csvChoice.chirpLayout ? CsvLayout::Chirp : CsvLayout::Own);
    if (!WriteFileAtomically(path.toStdString(), csv, &error)) {
        Messenger::Show(m_frame, QString::fromStdString(error), Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    return true;
}

bool CDocManager::OnImportCsv() {
    const QString path = Messenger::AskOpenFile(m_frame, true, &m_csvChoice);
    if (path.isEmpty()) return false;
    const FileRead file = ReadRegularFile(path.toStdString(), kLargestCsv, true);
    if (!file.ok) {
        Messenger::Show(m_frame, QString::fromStdString(file.error), Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    CsvImportFlow flow(file.bytes, m_view->ImageForSave(), m_csvChoice.renumber);
    while (const auto question = flow.Question())
        flow.Reply(
            Messenger::Show(m_frame, QString::fromStdString(question->text), question->buttons, MessageIcon::Warning));
    if (flow.Cancelled()) return false;
    if (!flow.Applied()) {
        Messenger::Show(m_frame, QString::fromStdString(flow.Message()), Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    m_view->Change([&](EditSession& s) { return s.ReplaceImage(flow.Image()); });
    Messenger::Show(m_frame, QString::fromStdString(flow.Message()), Buttons::Ok, MessageIcon::Information);
    return true;
}

bool CDocManager::OnOpenRecentFile(int index) {
    const QStringList files = m_recent.Files();
    if (index < 0 || index >= files.size()) return false;
    const QString path = files[index];
    if (index > 0) {
        if (!SaveModified()) return false;
        if (!OpenWithoutAsking(path)) {
            m_recent.Remove(m_recent.Files().indexOf(path));
            ShowRecentFiles();
            return false;
        }
        return true;
    }
    // Entry 1 loads the file from disk into the current document again. Its
    // name, title and the list stay as they are; unsaved changes are asked about.
    // A failed reload leaves the document and the grid as they were.
    if (!SaveModified()) return false;
    QString error, warning;
    if (!m_doc->OnOpenDocument(path, &error, &warning)) {
        Messenger::Show(m_frame, error, Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    m_view->OnInitialUpdate();
    if (!warning.isEmpty()) Messenger::Show(m_frame, warning, Buttons::Ok, MessageIcon::Warning);
    return true;
}
