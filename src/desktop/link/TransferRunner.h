#pragma once
// Runs one clone transfer off the user-interface thread, so the window stays
// live. The engine's status, progress and questions reach the progress
// window and the message boxes on the user-interface thread.
#include <QElapsedTimer>
#include <QObject>
#include <QThread>

#include "link/CloneEngine.h"

class CProgressDlg;

Q_DECLARE_METATYPE(CloneResult)

class CTransferRunner : public QObject {
    Q_OBJECT
public:
    explicit CTransferRunner(CProgressDlg* dialog, QObject* parent = nullptr);
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
    CProgressDlg* m_dialog;
    QThread* m_thread = nullptr;
    QString m_port;
    QElapsedTimer m_clock;
    qint64 m_elapsedMs = 0;
};
