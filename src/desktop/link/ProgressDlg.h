#pragma once
// The transfer's progress window: "开始" starts the transfer, "取消" stops
// it. A read is also stopped by losing the activation or being moved; a
// write is stopped only after the user confirms the question. With
// "连续写频" a write's window stays open for the next radio.
#include <QDialog>

#include "link/EngineRunner.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class CPortChecklist;
class CWriteRow;
class CWriteSessionPanel;
class QVBoxLayout;

class CProgressDlg : public QDialog, public CEngineTarget {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);

    // Resets the bar, both flags and the start button, sets the caption and
    // shows the window centred over `over`; `write` for a write's window,
    // which offers `port` and the other ports to write to.
    void Open(const QString& caption, bool write, QWidget* over, const QString& port = QString());
    // After a transfer on `port` (in every outcome): the window ends, unless
    // it writes radio after radio; then the result joins the session's log
    // and "开始" waits for the next radio.
    void Finish(const QString& port, const CloneResult& result);
    bool IsStarted() const;
    bool IsWrite() const { return m_bWrite; }
    // Asks whether to stop the running write; true when it is to stop.
    bool AskToStopWrite();

    // A write offers to read the radio first as a backup (off until chosen).
    bool Backup() const;
    QCheckBox* BackupBox() const { return m_backup; }
    // The step of a write with backup ("第 1 步（共 2 步）…"), or none; while
    // the backup is read, stopping writes nothing and is not asked about.
    void SetPhase(CloneDirection running, const QString& text) override;
    QLabel* Phase() const { return m_phase; }

    QWidget* Window() override { return this; }
    void SetStatus(const QString& text) override;
    void SetProgress(int position) override;

    // The ports checked for a write.
    QStringList Ports() const;
    // Writes `image` to every port of `ports` at once, a row each; the
    // window stays open with every radio's result.
    void StartAtOnce(const QStringList& ports, const RadioImage& image, bool backup);
    bool RowsRunning() const;
    QList<CWriteRow*> Rows() const { return m_rows; }

    QString m_strCaption;

    QPushButton* StartButton() const { return m_start; }
    QPushButton* CancelButton() const { return m_cancel; }
    QProgressBar* Bar() const { return m_bar; }
    QLabel* Status() const { return m_status; }
    CWriteSessionPanel* Session() const { return m_session; }
    CPortChecklist* PortList() const { return m_ports; }

signals:
    void startRequested();
    // The last of the radios written at once is done.
    void rowsFinished();
    // The window showed or closed: the language waits while it shows, so
    // that its texts do not mix two languages.
    void openChanged(bool open);

protected:
    void reject() override;  // "取消", Escape and the close box
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void OnOK();
    void ShowOneBar();
    void ShowPhase(const QString& text);
    // Stops a read left or moved; the notice follows once it has stopped.
    void Interrupt();
    void OnRowFinished(const QString& port, const CloneResult& result);

    QPushButton* m_start;
    QPushButton* m_cancel;
    QProgressBar* m_bar;
    QLabel* m_status;
    QLabel* m_done;
    QCheckBox* m_backup;
    QLabel* m_phase;
    CWriteSessionPanel* m_session;
    CPortChecklist* m_ports;
    QWidget* m_rowArea;
    QVBoxLayout* m_rowLayout;
    QList<CWriteRow*> m_rows;
    bool m_centering = false;
    bool m_bWrite = false;
    CloneDirection m_running = CloneDirection::Read;  // which way the data goes now
    bool m_interrupted = false;
};
