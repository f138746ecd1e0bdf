#pragma once
// The form view: the four whole-radio boxes above the channel grid, and the
// commands that open other windows. The grid and the boxes show the editing
// session of the window's document.
#include <QComboBox>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "editor/EditSession.h"
#include "compare/ImageDiff.h"
#include "image/KeshDoc.h"
#include "print/ReportLayout.h"

class CChannelGrid;
class QGroupBox;
class QLabel;
class CChannelModel;
class CProgressDlg;
struct CloneResult;

class CKeshView : public QWidget {
    Q_OBJECT
public:
    explicit CKeshView(CKeshDoc* document, QWidget* parent = nullptr);

    CKeshDoc* GetDocument() const { return m_pDocument; }
    CChannelGrid* Grid() const { return m_grid; }

    // Shows the document anew in the grid and the four boxes (New, Open, reload).
    void OnInitialUpdate();
    // Sets every text of the form in the current language.
    void ApplyTexts();

    const EditSession& Session() const { return m_pDocument->Session(); }
    // Every change of the working copy: runs `change` on the session, then
    // shows what changed and marks the document.
    EditResult Change(const std::function<EditResult(EditSession&)>& change);
    // The image a save or a write takes.
    RadioImage ImageForSave() const { return Session().ImageForSave(); }

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
    BandLimits Band() const { return Session().Band(); }

    // The comparison the grid marks: from `other` (named `name`) to the
    // working copy, followed as the user edits.
    const ImageComparison& Comparison() const { return m_comparison; }
    void CompareWith(const RadioImage& other, const ComparedName& name);
    void EndComparison();
    // Moves the current cell to the next (previous) cell that differs.
    void StepDifference(bool forward);
    // Reads the radio for a comparison; the document stays as it is.
    void OnCompareRadio();

    QString Port() const { return m_strPort; }
    void SetPort(const QString& port) { m_strPort = port; }

    QComboBox* m_cbManual = nullptr;
    QComboBox* m_cbPower = nullptr;
    QComboBox* m_cbModel = nullptr;
    QComboBox* m_cbBand = nullptr;

signals:
    // The text for pane 0 of the status bar while the pointer is over the form.
    void pointerHelp(const QString& text);
    // A transfer started or ended: commands that change the document wait.
    void transferRunning(bool running);
    // A word for the status bar about how a transfer ended.
    void transferNotice(const QString& text);
    // The working copy changed (also by undo and redo).
    void sessionChanged();
    // A comparison started, ended or its differences changed.
    void comparisonChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Makes difference `at` (an index of the comparison's, or -1 for none)
    // the current cell; the keys go to the grid either way.
    void GoToDifference(int at);
    void OneTimeSetUp();
    // Typing goes to the grid's current cell.
    void FocusGrid();
    QComboBox* ComboFor(FormBox box) const;
    void ShowSelections();
    void WatchPointer(QWidget* widget);
    void OnReadWrite(bool write);
    void OnTransferFinished(const CloneResult& result);
    void RefreshComparison();

    CKeshDoc* m_pDocument;
    RadioImage m_sent{};  // what the write in progress sends
    QGroupBox* m_group = nullptr;
    std::vector<QLabel*> m_labels;  // of the model, band, power level and manual boxes
    CChannelModel* m_model = nullptr;
    CChannelGrid* m_grid = nullptr;
    CProgressDlg* m_pProgress = nullptr;
    QString m_strPort = QStringLiteral("COM1");
    int m_bWrite = 0;
    bool m_bCompareRead = false;  // the read in progress is for a comparison
    ImageComparison m_comparison;
    bool m_bSetUp = false;
};
