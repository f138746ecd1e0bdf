#include "link/EngineRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QWidget>

#include "history/UserHistory.h"
#include "link/BackupWrite.h"
#include "link/QtSerialLink.h"
#include "res/QtText.h"
#include "ui/Messenger.h"

namespace {

// The engine's view of the user, answered on the user-interface thread.
class TargetInteraction : public IUserInteraction {
public:
    TargetInteraction(CEngineTarget* target, QWidget* window, const std::atomic<bool>& ending)
        : m_target(target), m_window(window), m_ending(ending) {}

    void SetStatus(const std::string& text) override {
        const QString status = QString::fromStdString(text);
        QMetaObject::invokeMethod(
            m_window, [t = m_target, status] { t->SetStatus(status); }, Qt::QueuedConnection);
    }
    void SetProgress(int position) override {
        QMetaObject::invokeMethod(
            m_window, [t = m_target, position] { t->SetProgress(position); }, Qt::QueuedConnection);
    }
    Answer Ask(const std::string& text, Buttons buttons) override { return Show(text, buttons, MessageIcon::Warning); }
    void Inform(const std::string& text) override { Show(text, Buttons::Ok, MessageIcon::Information); }
    bool Cancelled() override { return m_target->m_bCancel; }
    void SetWatch(bool watch) override { m_target->m_bWatch = watch; }

private:
    Answer Show(const std::string& text, Buttons buttons, MessageIcon icon) {
        if (m_ending) return Answer::Cancel;  // the window is going: nobody to ask
        const QString prefix = m_target->BoxPrefix();
        const QString box = QString::fromStdString(text);
        return Messenger::ShowFromWorker(m_window, prefix.isEmpty() ? box : prefix + QStringLiteral("\n") + box,
                                         buttons, icon);
    }

    CEngineTarget* m_target;
    QWidget* m_window;
    const std::atomic<bool>& m_ending;
};

constexpr int kEndingPollMs = 20;

}  // namespace

CEngineRunner::CEngineRunner(CEngineTarget* target) : m_target(target) { qRegisterMetaType<CloneResult>(); }

CEngineRunner::~CEngineRunner() {
    if (!m_thread) return;
    // The window goes while the engine runs: it stops at its next yield, and
    // a question it waits on is withdrawn unanswered, as if cancelled.
    m_ending = true;
    m_target->m_bCancel = true;
    while (!m_thread->wait(QDeadlineTimer(kEndingPollMs)))
        QCoreApplication::removePostedEvents(m_window, QEvent::MetaCall);
    delete m_thread;
}

void CEngineRunner::Start(const QString& port, Work work) {
    m_port = port;
    m_window = m_target->Window();
    m_clock.start();
    m_thread = QThread::create([this, portName = port.toStdString(), work = std::move(work)] {
        QtSerialLink link;
        PreciseClock clock;
        TargetInteraction user(m_target, m_window, m_ending);
        std::function<void()> done = work(link, clock, user);
        // The port ends with the run, whatever the engine did with it.
        if (link.IsOpen()) link.Close();
        QMetaObject::invokeMethod(
            this,
            [this, done = std::move(done)] {
                m_elapsedMs = m_clock.elapsed();
                m_thread->wait();
                delete m_thread;
                m_thread = nullptr;
                done();
            },
            Qt::QueuedConnection);
    });
    m_thread->start();
}

void CEngineRunner::StartTransfer(CloneDirection direction, const QString& port, const RadioImage& image, bool backup) {
    if (m_thread) return;
    Start(port, [this, direction, portName = port.toStdString(), image, backup](ISerialLink& link, IClock& clock,
                                                                                IUserInteraction& user) {
        CloneEngine engine(link, clock, user);
        const CloneResult result = RunTransfer(engine, direction, portName, image, backup);
        return std::function<void()>([this, result] { emit transferFinished(result); });
    });
}

CloneResult CEngineRunner::RunTransfer(CloneEngine& engine, CloneDirection direction, const std::string& port,
                                       const RadioImage& image, bool backup) {
    if (!backup || direction != CloneDirection::Write) return engine.Run(direction, port, image);
    const BackupWriteResult both = WriteWithBackup(
        engine, port, image,
        [this](int phase) {
            const QString text = QTr(phase == 1 ? TextId::BackupPhaseRead : TextId::BackupPhaseWrite);
            QMetaObject::invokeMethod(
                m_window, [t = m_target, text] { t->SetPhase(text); }, Qt::QueuedConnection);
        },
        [this, port](const CloneResult& read) {
            const auto notKept = KeepBackup(read.image, port, read.radioType);
            if (notKept) Tell(QString::fromStdString(BackupNotKeptText(*notKept)));
            return !notKept;
        });
    if (both.backup.outcome != CloneOutcome::Completed && both.backup.outcome != CloneOutcome::Cancelled)
        Tell(QTr(TextId::BackupFailed));
    return both.backup.outcome == CloneOutcome::Completed ? both.write : both.backup;
}

void CEngineRunner::Tell(const QString& text) {
    if (!m_ending) Messenger::ShowFromWorker(m_window, text, Buttons::Ok);
}

void CEngineRunner::StartTuning(const QString& port, const TuningRequest& request) {
    if (m_thread) return;
    Start(port,
          [this, portName = port.toStdString(), request](ISerialLink& link, IClock& clock, IUserInteraction& user) {
              const TuningOutcome outcome = TuningEngine(link, clock, user).Run(portName, request);
              return std::function<void()>([this, outcome] { emit tuningFinished(outcome); });
          });
}
