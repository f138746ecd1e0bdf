#include "app/KeshApp.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QTimer>
#include <QToolButton>
#include <QWhatsThis>
#include <cstdio>
#include <utility>

#include "app/AboutDlg.h"
#include "app/DocManager.h"
#include "app/HelpBrowser.h"
#include "app/HistoryDlg.h"
#include "app/MainFrm.h"
#include "app/UiLanguage.h"
#include "ui/CommandPath.h"
#include "ui/DeferredIconStyle.h"
#include "ui/KeyboardMenus.h"
#include "ui/Messenger.h"
#include "editor/ChannelGrid.h"
#include "editor/ComparePanel.h"
#include "editor/EditCommands.h"
#include "editor/KeshView.h"
#include "image/KeshDoc.h"
#include "history/UserHistory.h"
#include "image/FileAccess.h"
#include "image/SinFile.h"
#include "link/PortMenu.h"
#include "link/SerialLink.h"
#include "link/ProgressDlg.h"
#include "print/PrintCommands.h"
#include "res/Icons.h"
#include "settings/OptionsDlg.h"
#include "tuning/TuningDlg.h"
#include "res/CommandTable.h"
#include "res/QtText.h"
#include "res/ResourceIds.h"
#include "res/Strings.h"

using namespace ids;

CKeshApp::CKeshApp(int& argc, char** argv) : QApplication(argc, argv), m_toneTable(ToneTable::Instance()) {
    setApplicationName(QString::fromUtf8(Tr(TextId::AppTitle, Lang::Zh)));
    setOrganizationName(QString::fromUtf8(text::kSettingsKey));
    setApplicationVersion(QString::fromUtf8(text::kVersion));
    ApplyLanguage(StartLanguage(arguments()));
    setStyle(new CDeferredIconStyle(style()));
    // The menus stay in the window on every desktop, as the guide shows them,
    // and the window does not wait for the session bus to be asked about a
    // global menu bar.
    setAttribute(Qt::AA_DontUseNativeMenuBar);
    installEventFilter(this);
}

CKeshApp::~CKeshApp() { ExitInstance(); }

void CKeshApp::SetLanguage(Lang lang) {
    ApplyLanguage(lang);
    if (m_frame) m_frame->ApplyTexts();
    if (m_view) m_view->ApplyTexts();
    if (m_portMenu) m_portMenu->Refresh();
    if (m_comparePanel) m_comparePanel->ApplyTexts();
}

void CKeshApp::CreateDocumentAndWindow() {
    ExitInstance();
    m_doc = new CKeshDoc(this);
    m_frame = new CMainFrame;
    m_view = new CKeshView(m_doc, m_frame);
    m_frame->setCentralWidget(m_view);
    m_commands = new CCommandPath([grid = m_view->Grid()] { return grid->CommitOpenEdit(); }, m_frame);
    m_docManager = new CDocManager(m_doc, m_view, m_frame);
    WireCommands();
    m_view->OnInitialUpdate();
}

bool CKeshApp::InitInstance(const QStringList& files) {
    CreateDocumentAndWindow();
    // A file that cannot be opened leaves the new document in its place.
    if (!files.isEmpty()) m_docManager->OpenDocumentFile(files.first());
    m_frame->FitToView();
    m_frame->show();
    return true;
}

bool CKeshApp::PrintFile(const QString& file, const QString& printer) {
    // No window: every message goes to standard error.
    Messenger::SetMessageHandler([](const MessageRequest& request) {
        std::fprintf(stderr, "%s\n", request.text.toLocal8Bit().constData());
        return Answer::Cancel;
    });
    CreateDocumentAndWindow();
    const bool ok = m_docManager->OpenDocumentFile(file) && m_print->OnFilePrintDirect(printer);
    ExitInstance();
    return ok;
}

void CKeshApp::ExitInstance() {
    if (m_frame) {
        m_frame->hide();
        delete m_frame;  // also the view and the file commands
        m_frame = nullptr;
        m_view = nullptr;
        m_commands = nullptr;
        m_docManager = nullptr;
        m_portMenu = nullptr;
        m_print = nullptr;
        m_comparePanel = nullptr;
    }
    delete m_doc;
    m_doc = nullptr;
}

void CKeshApp::SetPort(const QString& port) {
    m_view->SetPort(port);
    m_portMenu->Refresh();
}

void CKeshApp::ChoosePort(const QString& port) {
    m_view->SetPort(port);
    m_frame->ShowFeedback(QString::fromStdString(PortChosenText(port.toStdString())));
}

bool CKeshApp::AllowClose() {
    if (!m_view->IsTransferRunning()) return m_docManager->SaveModified();
    // A read may be left only by its own window; a write is stopped only on
    // the question its window asks, and the window closes once it has stopped.
    CProgressDlg* progress = m_view->Progress();
    if (!progress->IsWrite()) {
        Messenger::Show(m_frame, QTr(TextId::TransferRunning), Buttons::Ok, MessageIcon::Information);
        return false;
    }
    if (progress->AskToStopWrite()) m_closeAfterTransfer = true;
    return false;
}

void CKeshApp::OnTransferRunning(bool running) {
    if (running) m_frame->ForgetFeedback();  // what the status bar said of the last transfer
    if (!running && std::exchange(m_closeAfterTransfer, false))
        QMetaObject::invokeMethod(
            m_frame, [frame = m_frame] { frame->close(); }, Qt::QueuedConnection);
    // While a transfer runs nothing may change or replace the document.
    for (int id :
         {ID_FILE_NEW, ID_FILE_OPEN, ID_IMPORT_CSV, ID_READ, ID_WRITE, ID_OPTIONS, ID_TUNING, ID_COMPARE_RADIO})
        m_frame->Action(id)->setEnabled(!running);
    m_frame->SetRecentFilesEnabled(!running);
    m_view->SetEditingEnabled(!running);
}

void CKeshApp::ShowHelp(const QString& section) {
    CHelpBrowser help(activeWindow() ? activeWindow() : m_frame, section);
    help.exec();
}

// Pointer help (Shift+F1, the toolbar's question mark): whatever is clicked
// next has help, and opens the guide there: a command's button at the
// section of its command, anything else at the section of its window.
bool CKeshApp::ShowPointerHelp(QWidget* widget, QEvent* event) {
    if (event->type() == QEvent::QueryWhatsThis) return true;
    if (event->type() != QEvent::WhatsThis || !m_frame) return false;
    QWhatsThis::leaveWhatsThisMode();
    const auto* button = qobject_cast<const QToolButton*>(widget);
    const QAction* command = button ? button->defaultAction() : nullptr;
    bool isCommand = false;
    const int id = command ? command->objectName().toInt(&isCommand) : 0;
    const QString section = isCommand ? QTr(CommandHelpSection(id)) : HelpSectionFor(widget->window());
    // Once the click that chose has been taken in.
    QTimer::singleShot(0, this, [this, section] { ShowHelp(section); });
    return true;
}

QString CKeshApp::HelpSectionFor(const QWidget* window) const {
    if (!window) return QString();
    HelpWindow kind = HelpWindow::Main;
    if (window == m_view->Progress())
        kind = m_view->Progress()->IsWrite() ? HelpWindow::WriteProgress : HelpWindow::ReadProgress;
    else if (window->objectName() == QString::number(IDD_OPTIONS))
        kind = HelpWindow::Options;
    else if (window->objectName() == QString::number(IDD_TUNING))
        kind = HelpWindow::Tuning;
    else if (window->objectName() == QStringLiteral("historyDialog"))
        kind = HelpWindow::History;
    else if (window->objectName() == QString::number(ID_FILE_PRINT_PREVIEW))
        kind = HelpWindow::PrintPreview;
    return QTr(HelpSection(kind));
}

bool CKeshApp::eventFilter(QObject* watched, QEvent* event) {
    // The icon's six sizes are drawn once the first window has been painted:
    // the window is on screen sooner, and every window has the icon a moment later.
    if (!m_iconGiven && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        m_iconGiven = true;
        QTimer::singleShot(0, this, [] { setWindowIcon(AppIcon()); });
    }
    if (event->type() == QEvent::KeyPress && OpenMenuByKey(watched, *static_cast<QKeyEvent*>(event))) return true;
    if (watched->isWidgetType() && ShowPointerHelp(static_cast<QWidget*>(watched), event)) return true;
    // F1 in a dialog that keeps the main window's keys away (options, tuning).
    QWidget* modal = activeModalWidget();
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 && m_frame && modal &&
        !qobject_cast<CHelpBrowser*>(modal) && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == modal) {
        ShowHelp(HelpSectionFor(modal));
        return true;
    }
    return QApplication::eventFilter(watched, event);
}

void CKeshApp::OnOptions() {
    RadioImage image = m_view->ImageForSave();
    COptionsDlg dialog(image, m_frame);
    if (dialog.exec() == QDialog::Accepted) m_view->Change([&](EditSession& s) { return s.ApplySettings(image); });
}

void CKeshApp::OnCompareFile() {
    // Only compared, never opened: the window says so.
    const QString path = Messenger::AskOpenFile(m_frame, false, nullptr, QTr(TextId::FileDialogCompare));
    if (path.isEmpty()) return;
    RadioImage other = NewDocumentImage();
    const SinLoadResult loaded = LoadSinFile(path.toStdString(), other, EmptySin::Refused);
    if (!loaded.ok) {
        Messenger::Show(m_frame, loaded.error);
        return;
    }
    m_view->CompareWith(other, ComparedName::File(QFileInfo(path).fileName().toStdString()));
    // Bytes after the radio data are left out, as opening the file says.
    if (loaded.warning) Messenger::Show(m_frame, QString::fromStdString(Describe(*loaded.warning)));
}

void CKeshApp::OnHistory() {
    // The window opens all the same, for its switch.
    if (const std::optional<Failure> failure = FolderHistoryStore(UserHistoryFolder()).ListFailure())
        Messenger::Show(m_frame, *failure);
    CHistoryDlg dialog(m_frame);
    if (dialog.exec() != QDialog::Accepted || !dialog.ChosenEntry()) return;
    const HistoryEntry entry = *dialog.ChosenEntry();
    const auto image = dialog.ChosenImage();
    if (!image) {
        FolderHistoryStore store(UserHistoryFolder());
        Messenger::Show(m_frame, RadioHistory(store).ImageFailure(entry.name));
        return;
    }
    if (dialog.Chosen() == CHistoryDlg::Choice::Open)
        m_docManager->NewDocumentWith(*image);
    else
        m_view->CompareWith(*image, ComparedName::Text(TextId::HistoryEntryName, {HistoryTimeText(entry.timeMs)}));
}

void CKeshApp::ShowComparePanel() {
    // The panel is made when the first comparison starts; it follows the
    // comparisons itself from then on.
    if (m_comparePanel || !m_view->Comparison().Active()) return;
    m_comparePanel = new CComparePanel(m_view, m_commands, m_frame);
    m_frame->addDockWidget(Qt::BottomDockWidgetArea, m_comparePanel);
}

void CKeshApp::WireCommands() {
    // Every command runs through the one path that writes an open cell edit first.
    auto on = [this](int id, std::function<void()> handler) {
        m_commands->Connect(m_frame->Action(id), std::move(handler));
    };
    on(ID_FILE_NEW, [this] { m_docManager->OnFileNew(); });
    on(ID_FILE_OPEN, [this] { m_docManager->OnFileOpen(); });
    on(ID_FILE_SAVE, [this] { m_docManager->OnFileSave(); });
    on(ID_FILE_SAVE_AS, [this] { m_docManager->OnFileSaveAs(); });
    on(ID_EXPORT_CSV, [this] { m_docManager->OnExportCsv(); });
    on(ID_IMPORT_CSV, [this] { m_docManager->OnImportCsv(); });
    on(ID_APP_EXIT, [this] { m_frame->close(); });
    on(ID_APP_ABOUT, [this] {
        CAboutDlg about(m_frame);
        about.exec();
    });
    on(ID_HELP_FINDER, [this] { ShowHelp(QString()); });
    on(ID_HELP, [this] { ShowHelp(HelpSectionFor(activeWindow())); });
    on(ID_EDIT_CHANNELS, [this] { m_view->OnEditChannels(); });
    const std::pair<int, const char*> ports[] = {
        {ID_PORT_COM1, "COM1"}, {ID_PORT_COM2, "COM2"}, {ID_PORT_COM3, "COM3"}, {ID_PORT_COM4, "COM4"}};
    for (const auto& [id, name] : ports) {
        const QString port = QString::fromLatin1(name);
        on(id, [this, port] { ChoosePort(port); });
    }
    m_portMenu = new CPortMenu(
        m_frame->PortMenu(),
        {m_frame->Action(ID_PORT_COM1), m_frame->Action(ID_PORT_COM2), m_frame->Action(ID_PORT_COM3),
         m_frame->Action(ID_PORT_COM4)},
        [this] { return m_view->Port(); }, [this](const QString& port) { m_commands->Run([&] { ChoosePort(port); }); });
    on(ID_READ, [this] { m_view->OnRead(); });
    on(ID_WRITE, [this] { m_view->OnWrite(); });
    connect(m_view, &CKeshView::transferRunning, this, &CKeshApp::OnTransferRunning);
    connect(m_view->Progress(), &CProgressDlg::openChanged, m_frame,
            [this](bool open) { m_frame->SetLanguageEnabled(!open); });
    connect(m_view->Progress(), &CProgressDlg::startRequested, this,
            [this] { m_commands->Run([this] { m_view->OnTransfer(); }); });
    new CEditCommands(
        m_view, [this](int id) { return m_frame->Action(id); }, m_commands, m_frame->GridMenu());
    on(ID_OPTIONS, [this] { OnOptions(); });
    on(ID_COMPARE_FILE, [this] { OnCompareFile(); });
    on(ID_HISTORY, [this] { OnHistory(); });
    on(ID_COMPARE_RADIO, [this] { m_view->OnCompareRadio(); });
    on(ID_NEXT_DIFFERENCE, [this] { m_view->StepDifference(true); });
    on(ID_PREVIOUS_DIFFERENCE, [this] { m_view->StepDifference(false); });
    on(ID_END_COMPARE, [this] { m_view->EndComparison(); });
    auto showComparing = [this] {
        for (int id : {ID_NEXT_DIFFERENCE, ID_PREVIOUS_DIFFERENCE, ID_END_COMPARE})
            m_frame->Action(id)->setEnabled(m_view->Comparison().Active());
    };
    connect(m_view, &CKeshView::comparisonChanged, this, showComparing);
    connect(m_view, &CKeshView::comparisonChanged, this, &CKeshApp::ShowComparePanel);
    showComparing();
    on(ID_TUNING, [this] {
        CTuningDlg dialog(m_view->m_cbBand->currentText(), m_view->Port(), m_frame);
        dialog.exec();
    });
    m_print = new CPrintCommands(
        m_frame, [this] { return m_view->ReportInputsFromView(); },
        [this](const std::string& path) { return m_doc->Doc().RefuseOwnFile(path); });
    on(ID_FILE_PRINT, [this] { m_print->OnFilePrint(); });
    on(ID_FILE_PRINT_DIRECT, [this] { m_print->OnFilePrintDirect(); });
    on(ID_FILE_PRINT_PREVIEW, [this] { m_print->OnFilePrintPreview(); });
    on(ID_FILE_PRINT_SETUP, [this] { m_print->OnFilePrintSetup(); });

    connect(m_frame, &CMainFrame::recentFileChosen, this,
            [this](int index) { m_commands->Run([&] { m_docManager->OnOpenRecentFile(index); }); });
    connect(m_frame, &CMainFrame::filesDropped, this, [this](const QStringList& paths) {
        m_commands->Run([&] { m_docManager->OpenDocumentFile(paths.first()); });
    });
    connect(m_view, &CKeshView::transferNotice, m_frame, &CMainFrame::ShowFeedback);
    connect(m_frame, &CMainFrame::closeRequested, this,
            [this](bool* allow) { *allow = m_commands->Run([this] { return AllowClose(); }); });
    // While the pointer help mode asks for an object, its prompt stays.
    connect(m_view, &CKeshView::pointerHelp, m_frame, [this](const QString& text) {
        if (!QWhatsThis::inWhatsThisMode()) m_frame->SetMessageText(text);
    });
    connect(m_view->Grid(), &CChannelGrid::notice, m_frame, &CMainFrame::ShowFeedback);
    connect(m_doc, &CKeshDoc::modifiedChanged, m_frame, &CMainFrame::ShowModified);
    connect(m_frame, &CMainFrame::languageChosen, this, [this](Lang lang) {
        m_commands->Run([&] {
            RememberLanguage(lang);
            SetLanguage(lang);
        });
    });
}
