#pragma once
// Runs the radio engines off the user-interface thread, so their windows stay
// live: a clone transfer (read, write, write with backup) or a tuning
// exchange. The runner owns the worker thread, the port and the engine's view
// of the user; status, progress and questions reach the window it reports to
// on the user-interface thread.
//
// One thread lifetime for every engine: a start makes the thread; when the
// engine is done the port is closed, the thread ends and is joined on the
// user-interface thread, and only then does the runner say it finished, so a
// finished runner may start again at once. Each window an engine reports to
// holds its own runner, so a run never outlives its window: destroying the
// window cancels the engine, withdraws its questions and waits for its thread.
#include <QElapsedTimer>
#include <QObject>
#include <QThread>
#include <atomic>
#include <functional>

#include "link/CloneEngine.h"
#include "res/Failure.h"
#include "tuning/TuningEngine.h"

class QWidget;

Q_DECLARE_METATYPE(CloneResult)

class CEngineTarget;

class CEngineRunner : public QObject {
    Q_OBJECT
public:
    explicit CEngineRunner(CEngineTarget* target);
    ~CEngineRunner() override;

    bool IsRunning() const { return m_thread != nullptr; }
    // A clone transfer on `port`, kept in the history as it ends. With
    // `backup`, a write first reads the radio and keeps that copy; nothing is
    // written unless it was kept.
    void StartTransfer(CloneDirection direction, const QString& port, const RadioImage& image, bool backup = false);
    // The tuning exchange of `request` on `port`.
    void StartTuning(const QString& port, const TuningRequest& request);
    // The port and the time taken of the last run (valid once it finished).
    QString Port() const { return m_port; }
    qint64 ElapsedMs() const { return m_elapsedMs; }

signals:
    void transferFinished(const CloneResult& result);
    void tuningFinished(TuningOutcome outcome);

private:
    // The engine's work on the worker thread, given the port, the clock and
    // the user; what it returns runs on the user-interface thread once the
    // thread has ended.
    using Work = std::function<std::function<void()>(ISerialLink& link, IClock& clock, IUserInteraction& user)>;
    void Start(const QString& port, Work work);
    // That a finished transfer's copy is not in the history, once its end is shown.
    void TellNotKept(const Failure& failure);

    CEngineTarget* m_target;
    QWidget* m_window = nullptr;  // the target's, taken at the start
    QThread* m_thread = nullptr;
    std::atomic<bool> m_ending{false};  // the target is being destroyed
    QString m_port;
    QElapsedTimer m_clock;
    qint64 m_elapsedMs = 0;
};

// What an engine reports to: a status line and a bar, the flags it checks
// at its yields, and the window its message boxes stand over. Its methods
// are called on the user-interface thread. It holds the runner that reports
// to it, and the runner ends before the rest of it does.
class CEngineTarget {
public:
    CEngineTarget() : m_runner(this) {}
    virtual ~CEngineTarget() = default;
    virtual QWidget* Window() = 0;
    virtual void SetStatus(const QString&) {}
    virtual void SetProgress(int) {}
    // The line a message box starts with, saying which radio it is about
    // when several are written at once; none otherwise.
    virtual QString BoxPrefix() const { return {}; }
    // The step of a write with backup, or none, and which way its data goes.
    virtual void SetPhase(CloneDirection, const QString&) {}

    CEngineRunner& Runner() { return m_runner; }
    const CEngineRunner& Runner() const { return m_runner; }

    std::atomic<bool> m_bCancel{false};
    std::atomic<bool> m_bWatch{true};

private:
    CEngineRunner m_runner;  // after the flags: destroyed first
};
