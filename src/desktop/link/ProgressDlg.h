#pragma once
// The transfer's progress window: "开始" starts the transfer, "取消" stops
// it. A read is also stopped by losing the activation or being moved; a
// write is stopped only after the user confirms the question. With
// "连续写频" a write's window stays open for the next radio.
#include <QDialog>
#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;
class CWriteSessionPanel;
struct CloneResult;

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    explicit CProgressDlg(QWidget* parent = nullptr);

    // Resets the bar, both flags and the start button, sets the caption and
    // shows the window centred over `over`; `write` for a write's window.
    void Open(const QString& caption, bool write, QWidget* over);
    // After a transfer on `port` (in every outcome): the window ends, unless
    // it writes radio after radio; then the result joins the session's log
    // and "开始" waits for the next radio.
    void Finish(const QString& port, const CloneResult& result);
    bool IsStarted() const;
    bool IsWrite() const { return m_bWrite; }

    void SetStatus(const QString& text);
    void SetProgress(int position);

    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bWatch{true};
    QString m_strCaption;

    QPushButton* StartButton() const { return m_start; }
    QPushButton* CancelButton() const { return m_cancel; }
    QProgressBar* Bar() const { return m_bar; }
    QLabel* Status() const { return m_status; }
    CWriteSessionPanel* Session() const { return m_session; }

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
    CWriteSessionPanel* m_session;
    bool m_centering = false;
    bool m_bWrite = false;
};
