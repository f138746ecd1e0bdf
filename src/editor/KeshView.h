#pragma once
// The form view: the four whole-radio boxes above the channel grid. It is the
// working copy of the image between a load and a save.
#include <QComboBox>
#include <QString>
#include <QWidget>

#include "image/ChannelTable.h"
#include "image/FormSelections.h"
#include "print/ReportLayout.h"

class CCellEditors;
class CChannelGrid;
class CKeshDoc;
class CProgressDlg;
class CTransferRunner;
struct CloneResult;

class CKeshView : public QWidget, public IChannelTable {
    Q_OBJECT
public:
    explicit CKeshView(CKeshDoc* document, QWidget* parent = nullptr);

    CKeshDoc* GetDocument() const { return m_pDocument; }
    CChannelGrid* Grid() const { return m_grid; }
    CCellEditors* Editors() const { return m_editors; }
    // Writes an open cell edit into its cell (before a transfer or a save).
    void CommitCellEdit();

    // Refills the grid and the four boxes from the image (New, Open, reload).
    void OnInitialUpdate();
    void UpdateGridFromImage();
    void UpdateImageFromGrid();

    // What the report prints: the image, the boxes' texts and the grid as it stands.
    ReportInputs ReportInputsFromView() const;

    // Command 32780: the hint, then channel 1's receive frequency.
    void OnEditChannels();

    // Commands 32771 and 32772: open the progress window for a read or a write.
    void OnRead() { OnReadWrite(false); }
    void OnWrite() { OnReadWrite(true); }
    // "开始" in the progress window: one transfer in the chosen direction.
    void OnTransfer();
    bool IsTransferRunning() const;
    // Cell editing and the four boxes, refused while a transfer runs.
    void SetEditingEnabled(bool enabled);
    CProgressDlg* Progress() const { return m_pProgress; }

    QString Port() const { return m_strPort; }
    void SetPort(const QString& port) { m_strPort = port; }

    // IChannelTable over the grid and the four boxes.
    std::string CellText(int row, int column) const override;
    void SetCellText(int row, int column, const std::string& text) override;
    int Selection(FormBox box) const override;
    void SetSelection(FormBox box, int index) override;

    QComboBox* m_cbManual = nullptr;
    QComboBox* m_cbPower = nullptr;
    QComboBox* m_cbModel = nullptr;
    QComboBox* m_cbBand = nullptr;

signals:
    // The text for pane 0 of the status bar while the pointer is over the form.
    void pointerHelp(const QString& text);
    // A transfer started or ended: commands that change the document wait.
    void transferRunning(bool running);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OneTimeSetUp();
    QComboBox* ComboFor(FormBox box) const;
    void WatchPointer(QWidget* widget);
    void OnReadWrite(bool write);
    void OnTransferFinished(const CloneResult& result);

    CKeshDoc* m_pDocument;
    CChannelGrid* m_grid = nullptr;
    CCellEditors* m_editors = nullptr;
    std::array<BandLimits, 10> m_bandLimits;
    CProgressDlg* m_pProgress = nullptr;
    CTransferRunner* m_runner = nullptr;
    QString m_strPort = QStringLiteral("COM1");
    int m_bWrite = 0;
    bool m_bSetUp = false;
};
