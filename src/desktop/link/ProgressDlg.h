#pragma once
// The transfer's progress window: "开始" starts the transfer, "取消" stops
// it. A read is also stopped by losing the activation or being moved; a
// write is stopped only after the user confirms the question.
#include <QDialog>
#include <atomic>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);

    // Resets the bar, both flags and the start button, sets the caption and
    // shows the window centred over `over`; `write` for a write's window.
    void Open(const QString& caption, bool write, QWidget* over);
    // Ends the window after a transfer (in every outcome).
    void Finish();
    bool IsStarted() const;
    bool IsWrite() const { return m_bWrite; }

    // A write offers to read the radio first as a backup (off until chosen).
    bool Backup() const;
    QCheckBox* BackupBox() const { return m_backup; }
    // The step of a write with backup ("第 1 步（共 2 步）…"), or none.
    void SetPhase(const QString& text);
    QLabel* Phase() const { return m_phase; }

    void SetStatus(const QString& text);
    void SetProgress(int position);

    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bWatch{true};
    QString m_strCaption;

    QPushButton* StartButton() const { return m_start; }
    QPushButton* CancelButton() const { return m_cancel; }
    QProgressBar* Bar() const { return m_bar; }
    QLabel* Status() const { return m_status; }

signals:
    void startRequested();

protected:
    void reject() override;  // "取消", Escape and the close box
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void OnOK();
    void Interrupt();

    QPushButton* m_start;
    QPushButton* m_cancel;
    QProgressBar* m_bar;
    QLabel* m_status;
    QLabel* m_done;
    QCheckBox* m_backup;
    QLabel* m_phase;
    bool m_centering = false;
    bool m_bWrite = false;
};
