#include "link/EngineRunner.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QWidget>

#include "history/UserHistory.h"
#include "link/TransferFlow.h"
#include "link/QtSerialLink.h"
#include "res/QtText.h"
#include "ui/Messenger.h"

namespace {

// A box's text, under the name of the radio it is about when the target has one.
QString BoxText(CEngineTarget* target, const std::string& text) {
    const QString prefix = target->BoxPrefix();
    const QString box = QString::fromStdString(text);
    return prefix.isEmpty() ? box : prefix + QStringLiteral("\n") + box;
}

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
        return Messenger::ShowFromWorker(m_window, BoxText(m_target, text), buttons, icon);
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
    const TransferPlan plan{direction, port.toStdString(), image, backup, HistoryEnabled()};
    Start(port, [this, plan](ISerialLink& link, IClock& clock, IUserInteraction& user) {
        CloneEngine engine(link, clock, user);
        const ShowPhase phase = [this](CloneDirection direction, const std::string& text) {
            QMetaObject::invokeMethod(
                m_window,
                [t = m_target, direction, phase = QString::fromStdString(text)] { t->SetPhase(direction, phase); },
                Qt::QueuedConnection);
        };
        const TransferEnd end = RunTransfer(engine, user, plan, phase, &KeepInUserHistory);
        return std::function<void()>([this, end] {
            emit transferFinished(end.result);
            if (end.notKept) TellNotKept(*end.notKept);
        });
    });
}

void CEngineRunner::TellNotKept(const Failure& failure) {
    // Over the transfer's window while it stays open, else over what it stood over.
    QWidget* over = m_window->isVisible() ? m_window : m_window->parentWidget();
    Messenger::Show(over, BoxText(m_target, NotKeptText(failure)), Buttons::Ok, MessageIcon::Information);
}

void CEngineRunner::StartTuning(const QString& port, const TuningRequest& request) {
    if (m_thread) return;
    Start(port,
          [this, portName = port.toStdString(), request](ISerialLink& link, IClock& clock, IUserInteraction& user) {
              const TuningOutcome outcome = TuningEngine(link, clock, user).Run(portName, request);
              return std::function<void()>([this, outcome] { emit tuningFinished(outcome); });
          });
}
