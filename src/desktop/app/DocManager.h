#pragma once
// The file commands: New, Open, Save, Save As, the recent files and dropped
// files, with the question about unsaved changes before anything replaces
// the document.
#include <QObject>
#include <QString>

#include "ui/Messenger.h"
#include "app/RecentFileList.h"
#include "image/RadioImage.h"

class CKeshDoc;
class CKeshView;
class CMainFrame;

class CDocManager : public QObject {
    Q_OBJECT
public:
    CDocManager(CKeshDoc* doc, CKeshView* view, CMainFrame* frame);

    bool OnFileNew();
    // A new, untitled document holding `image` (an entry of the history),
    // after asking about unsaved changes.
    bool NewDocumentWith(const RadioImage& image);
    bool OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // Recent entry 1 reloads the current file; entries 2-4 open as Open does.
    bool OnOpenRecentFile(int index);
    // Opens `path` after asking about unsaved changes.
    bool OpenDocumentFile(const QString& path);
    // "导出 CSV…" and "导入 CSV…": the channel table as it stands in the grid.
    bool OnExportCsv();
    bool OnImportCsv();
    // Asks whether to save a modified document; false when the user cancels.
    bool SaveModified();

    CRecentFileList& RecentFiles() { return m_recent; }

private:
    void ShowNewDocument();
    // The open document's folder, where the CSV commands start; empty while untitled.
    QString DocumentFolder() const;
    bool DoSave(const QString& path);
    // Opens `path` into the document; `named` makes it the document's file in
    // the recent files too (a reload leaves the list alone).
    bool OpenWithoutAsking(const QString& path, bool named = true);
    void ShowRecentFiles();
    // `path` goes to the top of the recent files.
    void AddRecent(const QString& path);

    CKeshDoc* m_doc;
    CKeshView* m_view;
    CMainFrame* m_frame;
    CRecentFileList m_recent;
    CsvChoice m_csvChoice;  // the last CSV layout and renumbering chosen
};
