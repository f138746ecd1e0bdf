#pragma once
// The channel grid: a table view over the channel model, in the grid's own
// coordinates: row 0 is the header row of captions and column 0 the header
// column of channel numbers; rows 1-128 and columns 1-10 are cells. A click
// or a typed character opens the cell's editor; a drag selects a range.
#include <QPointer>
#include <QTableView>

#include "editor/ChannelClipboard.h"
#include "editor/EditSession.h"
#include "editor/GridKeys.h"

class CCellDelegate;
class CChannelModel;

class CChannelGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kRows = 129;
    static constexpr int kCols = 11;

    // `commit` writes an edited text into the working copy and says what it did.
    using Commit = std::function<EditResult(int row, int column, const std::string& text, CellEntry entry)>;
    CChannelGrid(CChannelModel* model, Commit commit, QWidget* parent = nullptr);

    QString TextMatrix(int row, int col) const;

    // The current cell, in grid coordinates (0 when there is none).
    int Row() const { return currentIndex().isValid() ? currentIndex().row() + 1 : 0; }
    int Col() const { return currentIndex().isValid() ? currentIndex().column() + 1 : 0; }
    void SetCurrentCell(int row, int col);

    // The block of selected cells (their bounding block), or the current cell.
    CellRange SelectedCells() const;
    // Selects `range` and makes its first cell the current one.
    void SelectCells(const CellRange& range);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);
    // The rectangle of cell (row, col) in the viewport.
    QRect CellRect(int row, int col) const;

    // Opens the current cell's editor; `typed` is the character that opened it.
    void StartCellEdit(EditorOpening opening = EditorOpening::Click, const QString& typed = QString());
    // Writes an open edit into its cell and closes the editor. False when
    // the text was refused: the cell is open again with it.
    bool CommitOpenEdit();
    // The open editor, if any.
    QWidget* OpenEditor() const;
    // Closes an open editor without writing it.
    void AbandonEdit();
    // While disabled no editor opens.
    void SetEditingEnabled(bool enabled);

    // Shows each message about what was written, in order.
    void ShowNotices(const std::vector<CellNotice>& notices);

    // Wide enough for every column, tall enough for twenty channels.
    QSize sizeHint() const override;

signals:
    // A key the grid gives to a command: Copy, Cut, Paste or ClearCells.
    void commandKey(GridAction command);
    // A word about what was typed, for the status bar.
    void notice(const QString& text);

protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    // Goes where a key's step says.
    void Perform(const GridStep& step, const QString& typed = QString());
    void OnEditorLeft(const GridStep& step);
    void LeaveGrid(bool forward);

    CChannelModel* m_model;
    Commit m_commit;
    CCellDelegate* m_delegate = nullptr;
    QWidget* m_corner = nullptr;
    QPersistentModelIndex m_pressed;
    EditResult m_committed;      // what the last commit did, shown once its editor closed
    bool m_lastRefused = false;  // the last commit refused its text
    QString m_committedText;     // the text the last commit wrote or was refused
    bool m_forwarding = false;   // a key is being handed to the open editor
    bool m_editingEnabled = true;
};
