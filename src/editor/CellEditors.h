#pragma once
// The eight in-place editors of the channel grid: the frequency editor
// (columns 1, 2), the tone editor (3, 4) and six drop-down lists (5 to 10).
// At most one is open, laid over the current cell.
#include <QObject>
#include <array>
#include <functional>

#include "image/FormSelections.h"

class CChannelGrid;
class IChannelTable;
class QComboBox;
class QLineEdit;
class QWidget;

class CCellEditors : public QObject {
    Q_OBJECT
public:
    // `table` is the view's cell table, `band` gives the selected band's
    // limits, `changed` is called after an edit changed a row.
    CCellEditors(CChannelGrid* grid, IChannelTable* table, std::function<BandLimits()> band, std::function<void()> changed);

    // The editor of the grid's current column (none for column 0).
    QWidget* EditorForColumn() const;
    QWidget* EditorForColumn(int col) const;
    // Opens the editor of the current cell; `key` is a typed character, 0 for
    // none and 13 for Enter.
    void StartCellEdit(int key);
    // Validates and writes the open editor's text into (row, col), then hides it.
    void CommitCellEdit(int row, int col);
    void CommitCellEdit();
    // Loads the current cell's text into its editor without opening it.
    void LoadEditor();
    // Closes every editor without writing anything.
    void HideAll();
    QWidget* OpenEditor() const;
    // While disabled no editor opens.
    void SetEnabled(bool enabled) { m_enabled = enabled; }

    QLineEdit* m_editFreq = nullptr;
    QComboBox* m_cbTone = nullptr;
    QComboBox* m_cbWidth = nullptr;
    QComboBox* m_cbScan = nullptr;
    QComboBox* m_cbPowerCell = nullptr;
    QComboBox* m_cbSignal = nullptr;
    QComboBox* m_cbPttId = nullptr;
    QComboBox* m_cbBusy = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* MakeList(int id, int column);
    void OnCurrentCellChanged(int row, int col, int previousRow, int previousCol);
    void OnGridKey(int key);
    // Enter: write the open editor and move on to the next cell.
    bool HandleEnter(QObject* focus);
    void CommitFrequency(int row, int col, bool enterRule);
    void MoveTo(int row, int col);
    void Place(QWidget* editor);
    void WriteCell(int row, int col, const std::string& text);

    CChannelGrid* m_grid;
    IChannelTable* m_table;
    std::function<BandLimits()> m_band;
    std::function<void()> m_changed;
    std::array<QComboBox*, 6> m_lists{};
    bool m_enabled = true;
};
