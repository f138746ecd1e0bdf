#include "app/MainFrm.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>

#include "app/RecentFileList.h"
#include "res/CommandTable.h"
#include "res/Icons.h"
#include "res/ResourceIds.h"
#include "res/QtText.h"

using namespace ids;

namespace {
constexpr int kFeedbackMs = 8000;
constexpr int kLockPollMs = 250;

// The prompt of a recent-file entry, with the file's full path.
QString RecentPrompt(const QString& path) { return QTr(TextId::RecentPrompt) + QStringLiteral(": ") + path; }
}  // namespace

QStringList SinFilesIn(const QList<QUrl>& urls) {
    QStringList files;
    for (const QUrl& url : urls)
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".sin"), Qt::CaseInsensitive))
            files << url.toLocalFile();
    return files;
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QString::number(IDR_MAINFRAME));
    setWindowIcon(AppIcon());
    setAcceptDrops(true);
    resize(1200, 1100);  // FitToView shrinks it to the form
    for (const CommandInfo& c : CommandTable()) MakeAction(c.id);
    BuildMenus();
    BuildToolBar();
    BuildStatusBar();
    ApplyTexts();
    qApp->installEventFilter(this);
}

QAction* CMainFrame::MakeAction(int id) {
    const CommandInfo* info = FindCommand(id);
    auto* action = new QAction(this);
    action->setObjectName(QString::number(id));
    if (info) {
        action->setShortcuts(QKeySequence::listFromString(QString::fromLatin1(info->shortcut)));
        // The edit keys act on the grid only while the main window is active;
        // the others also work from the progress window.
        action->setShortcutContext(info->menu == MenuId::Edit ? Qt::WindowShortcut : Qt::ApplicationShortcut);
    }
    addAction(action);  // shortcuts work even for commands that are on no menu
    m_actions.insert(id, action);
    return action;
}

void CMainFrame::BuildMenus() {
    auto menu = [this](MenuId id) { return m_menus[id] = menuBar()->addMenu(QString()); };
    m_fileMenu = menu(MenuId::File);
    m_fileMenu->addActions({Action(ID_FILE_NEW), Action(ID_FILE_OPEN), Action(ID_FILE_SAVE), Action(ID_FILE_SAVE_AS)});
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({Action(ID_EXPORT_CSV), Action(ID_IMPORT_CSV)});
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(ID_COMPARE_FILE));
    m_fileMenu->addSeparator();
    m_fileMenu->addActions({Action(ID_FILE_PRINT), Action(ID_FILE_PRINT_PREVIEW), Action(ID_FILE_PRINT_SETUP)});
    m_fileMenu->addSeparator();
    m_recentPlaceholder = m_fileMenu->addAction(QString());
    m_recentPlaceholder->setObjectName(QString::number(ID_FILE_MRU_FILE1));
    m_recentPlaceholder->setEnabled(false);
    m_recentEnd = m_fileMenu->addSeparator();
    m_fileMenu->addAction(Action(ID_APP_EXIT));

    QMenu* edit = menu(MenuId::Edit);
    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("gridMenu"));
    for (QMenu* m : {edit, m_gridMenu}) {
        m->addActions({Action(ID_EDIT_UNDO), Action(ID_EDIT_REDO)});
        m->addSeparator();
        m->addActions({Action(ID_EDIT_CUT), Action(ID_EDIT_COPY), Action(ID_EDIT_PASTE), Action(ID_EDIT_CLEAR)});
        m->addSeparator();
        m->addActions({Action(ID_CHANNEL_INSERT), Action(ID_CHANNEL_DELETE), Action(ID_CHANNEL_UP), Action(ID_CHANNEL_DOWN)});
        m->addSeparator();
        m->addAction(Action(ID_SET_FIELD));
    }

    QMenu* program = menu(MenuId::Program);
    program->addAction(Action(ID_READ));
    program->addAction(Action(ID_COMPARE_RADIO));
    program->addSeparator();
    program->addAction(Action(ID_WRITE));
    program->addSeparator();
    program->addAction(Action(ID_TUNING));
    program->addSeparator();
    program->addAction(Action(ID_EDIT_CHANNELS));
    program->addSeparator();
    program->addAction(Action(ID_OPTIONS));

    QMenu* port = menu(MenuId::Port);
    port->setObjectName(QStringLiteral("portMenu"));
    for (int id : {ID_PORT_COM1, ID_PORT_COM2, ID_PORT_COM3, ID_PORT_COM4}) port->addAction(Action(id));
    m_portMenu = port;

    QMenu* view = menu(MenuId::View);
    view->addActions({Action(ID_VIEW_TOOLBAR), Action(ID_VIEW_STATUS_BAR)});
    Action(ID_VIEW_TOOLBAR)->setCheckable(true);
    Action(ID_VIEW_STATUS_BAR)->setCheckable(true);
    Action(ID_VIEW_TOOLBAR)->setChecked(true);
    Action(ID_VIEW_STATUS_BAR)->setChecked(true);
    view->addSeparator();
    view->addAction(Action(ID_HISTORY));
    view->addActions({Action(ID_NEXT_DIFFERENCE), Action(ID_PREVIOUS_DIFFERENCE), Action(ID_END_COMPARE)});
    view->addSeparator();
    BuildLanguageMenu(view);

    QMenu* help = menu(MenuId::Help);
    help->addAction(Action(ID_HELP_FINDER));
    help->addSeparator();
    help->addAction(Action(ID_APP_ABOUT));
}

void CMainFrame::BuildToolBar() {
    m_wndToolBar = addToolBar(QString());
    m_wndToolBar->setObjectName(QStringLiteral("toolbar128"));
    m_wndToolBar->setIconSize(QSize(18, 18));
    m_wndToolBar->setMovable(true);
    const int buttons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, -1, ID_READ, ID_WRITE, ID_TUNING, -1,
                           ID_EDIT_CHANNELS, -1, ID_FILE_PRINT, ID_CONTEXT_HELP, ID_APP_ABOUT};
    for (int id : buttons) {
        if (id < 0) {
            m_wndToolBar->addSeparator();
            continue;
        }
        Action(id)->setIcon(ToolbarIcon(id));
        m_wndToolBar->addAction(Action(id));
    }
    connect(Action(ID_VIEW_TOOLBAR), &QAction::toggled, m_wndToolBar, &QToolBar::setVisible);
    connect(m_wndToolBar, &QToolBar::visibilityChanged, Action(ID_VIEW_TOOLBAR), &QAction::setChecked);
}

void CMainFrame::BuildStatusBar() {
    m_pane0 = new QLabel(this);
    m_pane0->setObjectName(QStringLiteral("pane0"));
    statusBar()->addWidget(m_pane0, 1);
    const char* const names[3] = {"capsPane", "numPane", "scrollPane"};
    for (int i = 0; i < 3; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QString::fromLatin1(names[i]));
        m_indicators << label;
        label->setFrameShape(QFrame::StyledPanel);
        label->setEnabled(false);
        statusBar()->addPermanentWidget(label);
    }
    // A lock key may be pressed in any window: the states are looked at often.
    m_lockKeys = SystemLockKeys();
    auto* poll = new QTimer(this);
    connect(poll, &QTimer::timeout, this, &CMainFrame::UpdateLockPanes);
    poll->start(kLockPollMs);
    connect(Action(ID_VIEW_STATUS_BAR), &QAction::toggled, statusBar(), &QStatusBar::setVisible);
    connect(Action(ID_CONTEXT_HELP), &QAction::triggered, this, [this] {
        SetMessageText(QTr(TextId::HelpMode));
        QWhatsThis::enterWhatsThisMode();
    });
}

void CMainFrame::BuildLanguageMenu(QMenu* view) {
    m_languageMenu = view->addMenu(QString());
    m_languageMenu->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(this);
    for (Lang lang : {Lang::Zh, Lang::En}) {
        QAction* action = m_languageMenu->addAction(QTr(lang == Lang::Zh ? TextId::LanguageChinese : TextId::LanguageEnglish));
        action->setObjectName(lang == Lang::Zh ? QStringLiteral("languageZh") : QStringLiteral("languageEn"));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, lang] { emit languageChosen(lang); });
        m_languageActions[lang == Lang::Zh ? 0 : 1] = action;
    }
}

void CMainFrame::ApplyTexts() {
    setWindowTitle(QTr(TextId::WindowTitle));
    for (const CommandInfo& c : CommandTable()) {
        QAction* action = Action(c.id);
        if (c.text) action->setText(QTr(*c.text));
        const QString prompt = QTr(c.prompt);
        action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
        action->setToolTip(prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1) : QString());
    }
    for (auto it = m_menus.cbegin(); it != m_menus.cend(); ++it) it.value()->setTitle(QTr(MenuTitle(it.key())));
    m_languageMenu->setTitle(QTr(TextId::MenuLanguage));
    m_languageMenu->menuAction()->setStatusTip(QTr(TextId::TipLanguage));
    m_languageActions[0]->setChecked(CurrentLanguage() == Lang::Zh);
    m_languageActions[1]->setChecked(CurrentLanguage() == Lang::En);
    m_recentPlaceholder->setText(QTr(TextId::RecentPlaceholder));
    for (QAction* action : m_recentActions) action->setStatusTip(RecentPrompt(action->toolTip()));
    m_wndToolBar->setWindowTitle(QTr(TextId::ToolbarTitle));
    SetMessageText(QTr(TextId::Idle));
    const TextId indicators[] = {TextId::IndicatorCaps, TextId::IndicatorNum, TextId::IndicatorScroll};
    for (int i = 0; i < m_indicators.size(); ++i) m_indicators[i]->setText(QTr(indicators[i]));
}

void CMainFrame::SetMessageText(const QString& text) { m_pane0->setText(text); }

void CMainFrame::ShowFeedback(const QString& text) { statusBar()->showMessage(text, kFeedbackMs); }

void CMainFrame::SetLockKeys(std::unique_ptr<ILockKeys> keys) {
    m_lockKeys = std::move(keys);
    UpdateLockPanes();
}

void CMainFrame::UpdateLockPanes() {
    // Grey where the window system does not tell the states.
    const std::optional<LockKeyState> state = m_lockKeys->Read();
    m_indicators[0]->setEnabled(state && state->caps);
    m_indicators[1]->setEnabled(state && state->num);
    m_indicators[2]->setEnabled(state && state->scroll);
}

void CMainFrame::SetRecentFiles(const QStringList& files) {
    qDeleteAll(m_recentActions);
    m_recentActions.clear();
    m_recentPlaceholder->setVisible(files.isEmpty());
    const QStringList names = CRecentFileList::DistinctNames(files);
    for (int i = 0; i < files.size(); ++i) {
        QString name = names[i];
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name), this);
        action->setObjectName(QString::number(ID_FILE_MRU_FILE1 + i));
        const QString path = QDir::toNativeSeparators(files[i]);
        action->setStatusTip(RecentPrompt(path));
        action->setToolTip(path);
        connect(action, &QAction::triggered, this, [this, i] { emit recentFileChosen(i); });
        m_fileMenu->insertAction(m_recentEnd, action);
        m_recentActions << action;
    }
}

void CMainFrame::SetRecentFilesEnabled(bool enabled) {
    for (QAction* action : m_recentActions) action->setEnabled(enabled);
}

void CMainFrame::FitToView() {
    // Shrinks only, never grows.
    const QSize wanted = sizeHint();
    resize(std::min(width(), wanted.width()), std::min(height(), wanted.height()));
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!SinFilesIn(event->mimeData()->urls()).isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = SinFilesIn(event->mimeData()->urls());
    if (files.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(files);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    bool allow = true;
    emit closeRequested(&allow);
    if (allow)
        event->accept();
    else
        event->ignore();
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::LeaveWhatsThisMode) SetMessageText(QTr(TextId::Idle));
    return QMainWindow::eventFilter(watched, event);
}
