#include "link/TransferRunner.h"

#include <QMetaObject>
#include <QWidget>

#include "ui/Messenger.h"
#include "history/UserHistory.h"
#include "link/BackupWrite.h"
#include "link/QtSerialLink.h"
#include "res/QtText.h"

namespace {

// The engine's view of the user, answered on the user-interface thread.
class TargetInteraction : public IUserInteraction {
public:
    explicit TargetInteraction(CTransferTarget* target) : m_target(target), m_window(target->Window()) {}

    void SetStatus(const std::string& text) override {
        const QString status = QString::fromStdString(text);
        QMetaObject::invokeMethod(m_window, [t = m_target, status] { t->SetStatus(status); }, Qt::QueuedConnection);
    }
    void SetProgress(int position) override {
        QMetaObject::invokeMethod(m_window, [t = m_target, position] { t->SetProgress(position); }, Qt::QueuedConnection);
    }
    Answer Ask(const std::string& text, Buttons buttons) override {
        const QString prefix = m_target->BoxPrefix();
        const QString box = QString::fromStdString(text);
        return Messenger::ShowFromWorker(m_window, prefix.isEmpty() ? box : prefix + QStringLiteral("\n") + box, buttons);
    }
    bool Cancelled() override { return m_target->m_bCancel; }
    void SetWatch(bool watch) override { m_target->m_bWatch = watch; }

private:
    CTransferTarget* m_target;
    QWidget* m_window;
};

}  // namespace

CTransferRunner::CTransferRunner(CTransferTarget* target, QObject* parent) : QObject(parent), m_target(target) {
    qRegisterMetaType<CloneResult>();
}

CTransferRunner::~CTransferRunner() {
    if (m_thread) {
        m_target->m_bCancel = true;
        m_thread->wait();
    }
}

void CTransferRunner::Start(CloneDirection direction, const QString& port, const RadioImage& image, bool backup) {
    if (m_thread) return;
    m_port = port;
    m_clock.start();
    const std::string portName = port.toStdString();
    m_thread = QThread::create([this, direction, portName, image, backup] {
        QtSerialLink link;
        PreciseClock clock;
        TargetInteraction user(m_target);
        CloneEngine engine(link, clock, user);
        CloneResult result;
        if (backup && direction == CloneDirection::Write) {
            const BackupWriteResult both = WriteWithBackup(
                engine, portName, image,
                [this](int phase) {
                    const QString text = QTr(phase == 1 ? TextId::BackupPhaseRead : TextId::BackupPhaseWrite);
                    QMetaObject::invokeMethod(m_target->Window(), [t = m_target, text] { t->SetPhase(text); }, Qt::QueuedConnection);
                },
                [this, portName](const CloneResult& read) {
                    const std::string notKept = KeepTransfer(read.image, false, portName, read.radioType);
                    if (!notKept.empty())
                        Messenger::ShowFromWorker(m_target->Window(), QString::fromStdString(TrFormat(TextId::HistoryNotKept, {notKept})), Buttons::Ok);
                });
            result = both.backup.outcome == CloneOutcome::Completed ? both.write : both.backup;
            if (both.backup.outcome != CloneOutcome::Completed && both.backup.outcome != CloneOutcome::Cancelled)
                Messenger::ShowFromWorker(m_target->Window(), QTr(TextId::BackupFailed), Buttons::Ok);
        } else {
            result = engine.Run(direction, portName, image);
        }
        QMetaObject::invokeMethod(
            this,
            [this, result] {
                m_elapsedMs = m_clock.elapsed();
                m_thread->wait();
                delete m_thread;
                m_thread = nullptr;
                emit finished(result);
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
}
