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

#include "ui/DialogFrame.h"
#include "app/RecentFileList.h"
#include "image/SinFile.h"
#include "interaction/StatusFeedback.h"
#include "res/CommandTable.h"
#include "res/Icons.h"
#include "res/ResourceIds.h"
#include "res/QtText.h"

using namespace ids;

namespace {
constexpr int kLockPollMs = 250;

// The prompt of a recent-file entry, with the file's full path.
QString RecentPrompt(const QString& path) { return QTr(TextId::RecentPrompt) + QStringLiteral(": ") + path; }
}  // namespace

QStringList SinFilesIn(const QList<QUrl>& urls) {
    QStringList files;
    for (const QUrl& url : urls)
        if (url.isLocalFile() && IsSinName(url.toLocalFile().toStdString())) files << url.toLocalFile();
    return files;
}

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QString::number(IDR_MAINFRAME));
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
    m_gridMenu = new QMenu(this);
    m_gridMenu->setObjectName(QStringLiteral("gridMenu"));
    for (MenuId id : {MenuId::File, MenuId::Edit, MenuId::Program, MenuId::Port, MenuId::View, MenuId::Help}) {
        QMenu* menu = m_menus[id] = menuBar()->addMenu(QString());
        FillMenu(menu, id);
        // The grid's context menu is the edit menu.
        if (id == MenuId::Edit) FillMenu(m_gridMenu, id);
    }
    m_fileMenu = m_menus[MenuId::File];
    m_portMenu = m_menus[MenuId::Port];
    m_portMenu->setObjectName(QStringLiteral("portMenu"));
    for (int id : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        Action(id)->setCheckable(true);
        Action(id)->setChecked(true);
    }
}

void CMainFrame::FillMenu(QMenu* menu, MenuId id) {
    bool afterRecent = false;
    for (int item : MenuItems(id)) {
        switch (item) {
            case kMenuSeparator: {
                QAction* line = menu->addSeparator();
                // The recent files go in before the line that follows them.
                if (afterRecent) m_recentEnd = line;
                afterRecent = false;
                break;
            }
            case kMenuRecentFiles:
                m_recentPlaceholder = menu->addAction(QString());
                m_recentPlaceholder->setObjectName(QString::number(ID_FILE_MRU_FILE1));
                m_recentPlaceholder->setEnabled(false);
                afterRecent = true;
                break;
            case kMenuLanguages: BuildLanguageMenu(menu); break;
            default: menu->addAction(Action(item)); break;
        }
    }
}

void CMainFrame::BuildToolBar() {
    m_wndToolBar = addToolBar(QString());
    m_wndToolBar->setObjectName(QStringLiteral("toolbar128"));
    m_wndToolBar->setIconSize(QSize(18, 18));
    m_wndToolBar->setMovable(true);
    for (int id : ToolbarButtons()) {
        if (id == kMenuSeparator) {
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
    m_modifiedPane = new QLabel(this);
    m_modifiedPane->setObjectName(QStringLiteral("modifiedPane"));
    m_modifiedPane->setFrameShape(QFrame::StyledPanel);
    statusBar()->addPermanentWidget(m_modifiedPane);
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
        QAction* action =
            m_languageMenu->addAction(QTr(lang == Lang::Zh ? TextId::LanguageChinese : TextId::LanguageEnglish));
        action->setObjectName(lang == Lang::Zh ? QStringLiteral("languageZh") : QStringLiteral("languageEn"));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, lang] { emit languageChosen(lang); });
        m_languageActions[lang == Lang::Zh ? 0 : 1] = action;
    }
}

void CMainFrame::SetLanguageEnabled(bool enabled) {
    for (QAction* action : m_languageActions) action->setEnabled(enabled);
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
    ShowModified(m_modified);
    const TextId indicators[] = {TextId::IndicatorCaps, TextId::IndicatorNum, TextId::IndicatorScroll};
    for (int i = 0; i < m_indicators.size(); ++i) m_indicators[i]->setText(QTr(indicators[i]));
}

void CMainFrame::SetMessageText(const QString& text) { m_pane0->setText(text); }

void CMainFrame::ShowModified(bool modified) {
    m_modified = modified;
    if (modified) ForgetFileFeedback();
    m_modifiedPane->setText(modified ? QTr(TextId::ModifiedPane) : QString());
    // The pane keeps its width, so the panes beside it do not jump.
    m_modifiedPane->setMinimumWidth(
        std::max(QFontMetrics(m_modifiedPane->font()).horizontalAdvance(QTr(TextId::ModifiedPane)) + 12,
                 m_modifiedPane->minimumWidth()));
}

void CMainFrame::ShowFeedback(const QString& text) {
    m_fileFeedback.clear();
    statusBar()->showMessage(text, kStatusFeedbackMs);
}

void CMainFrame::ForgetFeedback() {
    m_fileFeedback.clear();
    statusBar()->clearMessage();
}

void CMainFrame::ForgetFileFeedback() {
    if (!m_fileFeedback.isEmpty() && statusBar()->currentMessage() == m_fileFeedback) statusBar()->clearMessage();
    m_fileFeedback.clear();
}

void CMainFrame::ShowFileFeedback(const QString& text) {
    ShowFeedback(text);
    m_fileFeedback = text;
}

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
    // On a screen too small for it, with its title bar, the window takes the
    // whole screen, so the status bar and the last columns stay in sight.
    if (size().boundedTo(ScreenRoom(this)) != size()) setWindowState(Qt::WindowMaximized);
}

// A dropped file is opened as File › Open opens it, and only while that
// command can be given: never while a write runs from this document.
void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (Action(ID_FILE_OPEN)->isEnabled() && !SinFilesIn(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QStringList files = SinFilesIn(event->mimeData()->urls());
    if (!Action(ID_FILE_OPEN)->isEnabled() || files.isEmpty()) return;
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
    // The end of the pointer help mode is told to every top-level window.
    if (watched == this && event->type() == QEvent::LeaveWhatsThisMode) SetMessageText(QTr(TextId::Idle));
    return QMainWindow::eventFilter(watched, event);
}
