#pragma once
// The application: start-up in the program's order (settings, tone table,
// document, command line, then the window), and the commands' routing.
#include <QApplication>

#include "tones/ToneTable.h"
#include "res/Texts.h"

class CCommandPath;
class CComparePanel;
class CDocManager;
class CPortMenu;
class CPrintCommands;
class CKeshDoc;
class CKeshView;
class CMainFrame;

class CKeshApp : public QApplication {
    Q_OBJECT
public:
    CKeshApp(int& argc, char** argv);
    ~CKeshApp() override;

    // Creates the document, window and view and carries out `files` (at most
    // one .sin to open); returns false when the program must end.
    bool InitInstance(const QStringList& files);
    // Prints `file` on the default printer (or `printer`) without showing a
    // window; the program's print switches.
    bool PrintFile(const QString& file, const QString& printer);
    // Closes and destroys what InitInstance created.
    void ExitInstance();

    CKeshDoc* Document() const { return m_doc; }
    CMainFrame* MainFrame() const { return m_frame; }
    CKeshView* View() const { return m_view; }
    CDocManager* DocManager() const { return m_docManager; }
    CPrintCommands* Print() const { return m_print; }
    // Shows the program in `lang` from now on: menus, status bar and open
    // windows at once, Qt's own dialogs included.
    void SetLanguage(Lang lang);
    // Chooses the port for the next transfer (also `ostreltz --port PATH`).
    void SetPort(const QString& port);
    // A port chosen from the menu or by its key: the status bar says which.
    void ChoosePort(const QString& port);

    const ToneTable& m_toneTable;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The user guide, opened at `section` (a heading; empty for the top).
    void ShowHelp(const QString& section);
    // The guide's section about `window`: the main window, the options and
    // tuning dialogs or the progress window.
    QString HelpSectionFor(const QWidget* window) const;
    bool ShowPointerHelp(QWidget* widget, QEvent* event);
    void CreateDocumentAndWindow();
    void WireCommands();
    void OnTransferRunning(bool running);
    void OnOptions();
    // Whether the window may close now: never while a transfer runs.
    bool AllowClose();
    // "与文件比较…": the grid marks what differs from the chosen file.
    void OnCompareFile();
    // "历史记录…": an entry opened as a new document or compared.
    void OnHistory();
    void ShowComparePanel();

    CKeshDoc* m_doc = nullptr;
    CMainFrame* m_frame = nullptr;
    CKeshView* m_view = nullptr;
    CCommandPath* m_commands = nullptr;
    CDocManager* m_docManager = nullptr;
    CPortMenu* m_portMenu = nullptr;
    CPrintCommands* m_print = nullptr;
    bool m_closeAfterTransfer = false;  // Exit stopped a write: close once it has stopped
    bool m_iconGiven = false;           // the program's windows have their icon
    CComparePanel* m_comparePanel = nullptr;
};
