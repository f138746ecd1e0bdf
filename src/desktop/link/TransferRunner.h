#pragma once
// Runs one clone transfer off the user-interface thread, so the window stays
// live. The engine's status, progress and questions reach the window the
// transfer reports to and the message boxes on the user-interface thread.
#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <atomic>

#include "link/CloneEngine.h"

class QWidget;

Q_DECLARE_METATYPE(CloneResult)

// What a transfer reports to: a status line and a bar, the flags it checks
// at its yields, and the window its message boxes stand over. Its methods
// are called on the user-interface thread.
class CTransferTarget {
public:
    virtual ~CTransferTarget() = default;
    virtual QWidget* Window() = 0;
    virtual void SetStatus(const QString& text) = 0;
    virtual void SetProgress(int position) = 0;
    // The line a message box starts with, saying which radio it is about
    // when several are written at once; none otherwise.
    virtual QString BoxPrefix() const { return {}; }
    // The step of a write with backup, or none.
    virtual void SetPhase(const QString&) {}

    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bWatch{true};
};

class CTransferRunner : public QObject {
    Q_OBJECT
public:
    explicit CTransferRunner(CTransferTarget* target, QObject* parent = nullptr);
    ~CTransferRunner() override;

    bool IsRunning() const { return m_thread != nullptr; }
    // With `backup`, a write first reads the radio; the read is kept in the
    // history before anything is written, and a read that does not finish
    // ends the transfer with nothing written.
    void Start(CloneDirection direction, const QString& port, const RadioImage& image, bool backup = false);
    // The port and the time taken of the last transfer (valid in `finished`).
    QString Port() const { return m_port; }
    qint64 ElapsedMs() const { return m_elapsedMs; }

signals:
    void finished(const CloneResult& result);

private:
    CTransferTarget* m_target;
    QThread* m_thread = nullptr;
    QString m_port;
    QElapsedTimer m_clock;
    qint64 m_elapsedMs = 0;
};
