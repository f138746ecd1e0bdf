#pragma once
// The channel grid: 129 rows and 11 columns in the grid's own coordinates.
// Row 0 (the captions) is the fixed header row and column 0 (the channel
// numbers) the fixed header column; rows 1-128 and columns 1-10 are cells.
#include <QTableWidget>

#include "editor/ChannelClipboard.h"

class CChannelGrid : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 129;
    static constexpr int kCols = 11;

    explicit CChannelGrid(QWidget* parent = nullptr);

    QString TextMatrix(int row, int col) const;
    void SetTextMatrix(int row, int col, const QString& text);

    // The current cell, in grid coordinates (0 when there is none).
    int Row() const { return currentRow() + 1; }
    int Col() const { return currentColumn() + 1; }
    void SetCurrentCell(int row, int col) { setCurrentCell(row - 1, col - 1); }

    // The block of selected cells (their bounding block), or the current cell.
    CellRange SelectedCells() const;
    // Selects `range` and makes its first cell the current one.
    void SelectCells(const CellRange& range);

    int ColWidth(int col) const;
    void SetColWidth(int col, int width);

    // The current cell's rectangle, relative to the grid widget.
    QRect CurrentCellRect() const;

    // Wide enough for every column, tall enough for twenty channels.
    QSize sizeHint() const override;

signals:
    // A press of any but the right button on a cell, after the grid moved there.
    void cellPressed();
    // A printable character typed while the grid has the focus.
    void characterTyped(int character);
    // The grid was resized: an open editor no longer sits on its cell.
    void resized();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* m_corner = nullptr;
    QString m_cornerText;
};
