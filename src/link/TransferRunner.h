#pragma once
// Runs one clone transfer off the user-interface thread, so the window stays
// live. The engine's status, progress and questions reach the progress
// window and the message boxes on the user-interface thread.
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
    void Start(CloneDirection direction, const QString& port, const RadioImage& image);

signals:
    void finished(const CloneResult& result);

private:
    CProgressDlg* m_dialog;
    QThread* m_thread = nullptr;
};
