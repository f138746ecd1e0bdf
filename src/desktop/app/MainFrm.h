#pragma once
// The main window: menus, accelerators, toolbar and status bar around the
// form view. Its caption is always the program's title.
#include <QHash>
#include <QMap>
#include <QMainWindow>
#include <memory>

#include "app/LockKeys.h"

#include "res/CommandTable.h"

class QLabel;
class QMenu;
class QToolBar;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    // The action of command `id` (its object name is the id).
    QAction* Action(int id) const { return m_actions.value(id); }
    QToolBar* ToolBar() const { return m_wndToolBar; }
    QMenu* PortMenu() const { return m_portMenu; }
    // The channel grid's context menu: the clipboard and channel commands.
    QMenu* GridMenu() const { return m_gridMenu; }
    // Pane 0 of the status bar.
    QLabel* MessagePane() const { return m_pane0; }
    void SetMessageText(const QString& text);
    // A result the user should notice ("读频完成…", "已保存…"), shown in the
    // status bar for a few seconds.
    void ShowFeedback(const QString& text);
    // Feedback goes: all of it (a transfer starts), or only what was said of
    // the document's file (another document takes its place).
    void ForgetFeedback();
    void ForgetFileFeedback();
    // Feedback about the document's file ("已保存…"), which goes with the
    // first change after it.
    void ShowFileFeedback(const QString& text);
    // The pane that says "已修改" while the document differs from its file.
    void ShowModified(bool modified);
    QLabel* ModifiedPane() const { return m_modifiedPane; }
    // The panes "大写", "数字" and "滚动": lit while their lock is on.
    QLabel* LockPane(int index) const { return m_indicators[index]; }
    // Where the lock states come from (the window system by default).
    void SetLockKeys(std::unique_ptr<ILockKeys> keys);

    // Rebuilds the recent-file entries from `files` (newest first).
    void SetRecentFiles(const QStringList& files);
    void SetRecentFilesEnabled(bool enabled);
    void SetLanguageEnabled(bool enabled);

    // Sets every text of the window in the current language.
    void ApplyTexts();

    // Fits the window to the form view.
    void FitToView();

signals:
    void recentFileChosen(int index);
    void filesDropped(const QStringList& paths);
    void closeRequested(bool* allow);
    // A language picked from 查看 > 语言 / Language.
    void languageChosen(Lang lang);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* MakeAction(int id);
    void BuildMenus();
    void FillMenu(QMenu* menu, MenuId id);
    void BuildToolBar();
    void BuildStatusBar();
    void BuildLanguageMenu(QMenu* view);
    void UpdateLockPanes();

    QHash<int, QAction*> m_actions;
    QToolBar* m_wndToolBar = nullptr;
    QLabel* m_pane0 = nullptr;
    QLabel* m_modifiedPane = nullptr;
    bool m_modified = false;
    QString m_fileFeedback;  // shown by ShowFileFeedback, until the document changes
    QMap<MenuId, QMenu*> m_menus;
    QMenu* m_languageMenu = nullptr;
    QAction* m_languageActions[2] = {};
    QList<QLabel*> m_indicators;  // "大写", "数字", "滚动"
    std::unique_ptr<ILockKeys> m_lockKeys;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_portMenu = nullptr;
    QMenu* m_gridMenu = nullptr;
    QAction* m_recentPlaceholder = nullptr;
    QList<QAction*> m_recentActions;
    QAction* m_recentEnd = nullptr;
};

// The .sin files among dropped URLs.
QStringList SinFilesIn(const QList<QUrl>& urls);
