#include "app/DocManager.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/MainFrm.h"
#include "ui/Messenger.h"
#include "editor/KeshView.h"
#include "csv/ChannelCsv.h"
#include "image/FileAccess.h"
#include "image/KeshDoc.h"
#include "image/SinFile.h"
#include "res/Texts.h"
#include "res/QtText.h"

CDocManager::CDocManager(CKeshDoc* doc, CKeshView* view, CMainFrame* frame)
    : QObject(frame), m_doc(doc), m_view(view), m_frame(frame) {
    m_recent.Load();
    ShowRecentFiles();
}

void CDocManager::ShowRecentFiles() { m_frame->SetRecentFiles(m_recent.Files()); }

bool CDocManager::SaveModified() {
    const std::optional<Question> question = m_doc->Doc().SaveQuestion();
    if (!question) return true;
    switch (Document::After(Messenger::Ask(m_frame, *question))) {
        case AfterAsking::SaveFirst: return OnFileSave();
        case AfterAsking::Go: return true;
        case AfterAsking::Stop: return false;
    }
    return false;
}

// Another document takes the old one's place: what was said of the old
// one's file goes with it.
void CDocManager::ShowNewDocument() {
    m_view->OnInitialUpdate();
    m_frame->ForgetFileFeedback();
}

bool CDocManager::OnFileNew() {
    if (!SaveModified()) return false;
    m_doc->Doc().New();
    ShowNewDocument();
    return true;
}

bool CDocManager::NewDocumentWith(const RadioImage& image) {
    if (!SaveModified()) return false;
    m_doc->Doc().NewHolding(image);
    ShowNewDocument();
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

bool CDocManager::OpenWithoutAsking(const QString& path, bool named) {
    const OpenOutcome opened = m_doc->Doc().Open(QFileInfo(path).absoluteFilePath().toStdString());
    if (opened.failure) {
        Messenger::Show(m_frame, *opened.failure);
        return false;
    }
    if (opened.empty) return true;
    if (named) AddRecent(path);
    ShowNewDocument();
    if (opened.warning) Messenger::Show(m_frame, QString::fromStdString(Describe(*opened.warning)));
    return true;
}

void CDocManager::AddRecent(const QString& path) {
    m_recent.Add(path);
    ShowRecentFiles();
}

bool CDocManager::OnFileSave() {
    if (m_doc->PathName().isEmpty()) return OnFileSaveAs();
    return DoSave(m_doc->PathName());
}

bool CDocManager::OnFileSaveAs() {
    const QString path =
        Messenger::AskSaveFile(m_frame, m_doc->PathName().isEmpty() ? m_doc->Title() : m_doc->PathName());
    if (path.isEmpty()) return false;
    return DoSave(QString::fromStdString(WithSinExtension(path.toStdString())));
}

bool CDocManager::DoSave(const QString& path) {
    const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
    // Another window or program may have saved the file since: ask before
    // the last save silently wins.
    if (const std::optional<Question> question = m_doc->Doc().OverwriteQuestion(absolute))
        if (Messenger::Ask(m_frame, *question) != Answer::Ok) return false;
    if (const std::optional<Failure> failure = m_doc->Doc().SaveAs(absolute)) {
        Messenger::Show(m_frame, *failure);
        return false;
    }
    m_doc->Changed();
    AddRecent(path);
    m_frame->ShowFileFeedback(QTr(TextId::Saved).arg(QDir::toNativeSeparators(m_doc->PathName())));
    return true;
}

QString CDocManager::DocumentFolder() const {
    return m_doc->PathName().isEmpty() ? QString() : QFileInfo(m_doc->PathName()).absolutePath();
}

bool CDocManager::OnExportCsv() {
    // Beside the document, under its name.
    const QString name = QFileInfo(m_doc->Title()).completeBaseName() + QStringLiteral(".csv");
    const QString folder = DocumentFolder();
    QString path =
        Messenger::AskSaveFile(m_frame, folder.isEmpty() ? name : QDir(folder).filePath(name), true, &m_csvChoice);
    if (path.isEmpty()) return false;
    if (const std::optional<Failure> refusal =
            m_doc->Doc().RefuseOwnFile(QFileInfo(path).absoluteFilePath().toStdString())) {
        Messenger::Show(m_frame, *refusal);
        return false;
    }
    const RadioImage image = m_view->ImageForSave();
    const std::string csv = ExportChannelsCsv(image, m_csvChoice.chirpLayout ? CsvLayout::Chirp : CsvLayout::Own);
    if (const std::optional<Failure> failure = WriteFileAtomically(path.toStdString(), csv)) {
        Messenger::Show(m_frame, *failure);
        return false;
    }
    return true;
}

bool CDocManager::OnImportCsv() {
    const QString path = Messenger::AskOpenFile(m_frame, true, &m_csvChoice, QString(), DocumentFolder());
    if (path.isEmpty()) return false;
    const FileRead file = ReadRegularFile(path.toStdString(), kLargestCsv, true);
    if (!file.ok) {
        Messenger::Show(m_frame, file.error);
        return false;
    }
    CsvImportFlow flow = m_doc->Doc().ImportCsv(file.bytes, m_csvChoice.renumber);
    while (const auto question = flow.Question()) flow.Reply(Messenger::Ask(m_frame, *question));
    if (flow.Cancelled()) return false;
    if (!flow.Applied()) {
        Messenger::Show(m_frame, QString::fromStdString(flow.Message()), Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    m_view->Change([&](EditSession&) { return m_doc->Doc().Apply(flow); });
    Messenger::Show(m_frame, QString::fromStdString(flow.Message()), Buttons::Ok, MessageIcon::Information);
    return true;
}

bool CDocManager::OnOpenRecentFile(int index) {
    const QStringList files = m_recent.Files();
    if (index < 0 || index >= files.size()) return false;
    const QString path = files[index];
    if (!SaveModified()) return false;
    // Entry 1 loads the file from disk into the current document again. Its
    // name, title and the list stay as they are. A failed reload leaves the
    // document and the grid as they were.
    if (index == 0) return OpenWithoutAsking(path, false);
    if (OpenWithoutAsking(path)) return true;
    m_recent.Remove(m_recent.Files().indexOf(path));
    ShowRecentFiles();
    return false;
}
