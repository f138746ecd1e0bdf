#pragma once
// The eight cell editors of the channel grid, made by column: the frequency
// editor (columns 1, 2), the tone editor (3, 4) and six fixed lists (5-10).
// Qt places each on its cell and keeps it there while the grid scrolls.
#include <QStyledItemDelegate>
#include <functional>
#include <string>

#include "editor/EditSession.h"

class CCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // `commit` writes an edited text into a cell (rows and columns from 1).
    using Commit = std::function<void(int row, int column, const std::string& text, CellEntry entry)>;
    CCellDelegate(Commit commit, QObject* parent);

    // The character the next editor starts with (0: none, 13: opened by Enter).
    void SetStartKey(int key) { m_startKey = key; }
    // The width an editor of `column` needs for its longest entry, opened on `viewport`.
    static int EditorWidth(int column, QWidget* viewport);
    // The height every editor needs.
    static int EditorHeight(QWidget* viewport);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

signals:
    // Enter was pressed in the editor of (row, column) and its text written.
    void enterPressed(int row, int column);
    // Tab was pressed in an editor and its text written: the focus leaves the grid.
    void tabPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Commit m_commit;
    mutable int m_startKey = 0;
    mutable CellEntry m_entry = CellEntry::Leave;
};
