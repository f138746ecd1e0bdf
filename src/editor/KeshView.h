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
class QUndoStack;
struct CloneResult;

class CKeshView : public QWidget, public IChannelTable {
    Q_OBJECT
public:
    explicit CKeshView(CKeshDoc* document, QWidget* parent = nullptr);
    ~CKeshView() override;

    CKeshDoc* GetDocument() const { return m_pDocument; }
    CChannelGrid* Grid() const { return m_grid; }
    CCellEditors* Editors() const { return m_editors; }
    // Writes an open cell edit into its cell (before a transfer or a save).
    void CommitCellEdit();

    // Refills the grid and the four boxes from the image (New, Open, reload).
    void OnInitialUpdate();
    void UpdateGridFromImage();
    void UpdateImageFromGrid();
    // The image as a save would write it: the document's image with the grid
    // and the four boxes pulled into it.
    RadioImage ImageWithGrid() const;

    // Every change of the grid, the boxes and the image is one step on this
    // stack; the document is modified while the stack is away from its clean
    // state.
    QUndoStack* UndoStack() const { return m_undo; }
    // Records what changed since the last step as one step named `name`;
    // with `always` even when nothing changed (a read from the radio).
    void RecordStep(const QString& name, bool always = false);
    // Replaces the document's image, refills the grid and records the step.
    void ReplaceImage(const RadioImage& image, const QString& name, bool always = false);

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

    // The limits of the band chosen in the band box.
    BandLimits Band() const { return m_bandLimits[static_cast<std::size_t>(Selection(FormBox::Band))]; }

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
    // A transfer ran to its end: the direction, the port and the time taken.
    void transferCompleted(bool write, const QString& port, qint64 elapsedMs);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OneTimeSetUp();
    QComboBox* ComboFor(FormBox box) const;
    void WatchPointer(QWidget* widget);
    void OnReadWrite(bool write);
    void OnTransferFinished(const CloneResult& result);
    // Shows a recorded image: the document's image, the grid and the boxes.
    void ShowImage(const RadioImage& image);

    CKeshDoc* m_pDocument;
    CChannelGrid* m_grid = nullptr;
    CCellEditors* m_editors = nullptr;
    std::array<BandLimits, 10> m_bandLimits;
    CProgressDlg* m_pProgress = nullptr;
    CTransferRunner* m_runner = nullptr;
    QUndoStack* m_undo = nullptr;
    RadioImage m_lastStep{};
    QString m_strPort = QStringLiteral("COM1");
    int m_bWrite = 0;
    bool m_bSetUp = false;
};
