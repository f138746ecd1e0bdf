#pragma once
// The eight cell editors of the channel grid, made by column: the frequency
// editor (columns 1, 2), the tone editor (3, 4) and six fixed lists (5-10).
// Qt places each on its cell and keeps it there while the grid scrolls.
#include <QStyledItemDelegate>
#include <functional>
#include <string>

#include "editor/EditSession.h"
#include "editor/GridKeys.h"

class CCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // `commit` writes an edited text into a cell (rows and columns from 1).
    using Commit = std::function<void(int row, int column, const std::string& text, CellEntry entry)>;
    CCellDelegate(Commit commit, QObject* parent);

    // How the next editor opens, and the character typed to open it.
    void SetOpening(EditorOpening opening, const QString& typed = QString()) {
        m_opening = opening;
        m_typed = typed;
    }
    // Puts the caret of an opened editor where its opening says: Qt selects
    // a line editor's whole text when it opens it.
    void PlaceCaret(QWidget* editor) const;
    // The width an editor of `column` needs for its longest entry, opened on `viewport`.
    static int EditorWidth(int column, QWidget* viewport);
    // The height every editor needs.
    static int EditorHeight(QWidget* viewport);

    // A cell as the style draws it; the current cell is framed as well, so
    // that it shows inside a selection, where typing and pasting begin.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

signals:
    // A key in an editor wrote its text and closed it; the grid goes on as
    // `step` says, or opens the cell again when the text was refused.
    void editorLeft(const GridStep& step);
    // A word about what was typed, shown beside the grid.
    void notice(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Commit m_commit;
    mutable EditorOpening m_opening = EditorOpening::Click;
    mutable QString m_typed;
    mutable bool m_selectAll = true;  // the last editor opened all selected
    mutable CellEntry m_entry = CellEntry::Leave;
};
