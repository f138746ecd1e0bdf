#include "link/TransferRunner.h"

#include <QMetaObject>

#include "ui/Messenger.h"
#include "link/ProgressDlg.h"
#include "link/QtSerialLink.h"

namespace {

// The engine's view of the user, answered on the user-interface thread.
class DialogInteraction : public IUserInteraction {
public:
    explicit DialogInteraction(CProgressDlg* dialog) : m_dialog(dialog) {}

    void SetStatus(const std::string& text) override {
        const QString status = QString::fromStdString(text);
        QMetaObject::invokeMethod(m_dialog, [d = m_dialog, status] { d->SetStatus(status); }, Qt::QueuedConnection);
    }
    void SetProgress(int position) override {
        QMetaObject::invokeMethod(m_dialog, [d = m_dialog, position] { d->SetProgress(position); }, Qt::QueuedConnection);
    }
    Answer Ask(const std::string& text, Buttons buttons) override {
        return Messenger::ShowFromWorker(m_dialog, QString::fromStdString(text), buttons);
    }
    bool Cancelled() override { return m_dialog->m_bCancel; }
    void SetWatch(bool watch) override { m_dialog->m_bWatch = watch; }

private:
    CProgressDlg* m_dialog;
};

}  // namespace

CTransferRunner::CTransferRunner(CProgressDlg* dialog, QObject* parent) : QObject(parent), m_dialog(dialog) {
    qRegisterMetaType<CloneResult>();
}

CTransferRunner::~CTransferRunner() {
    if (m_thread) {
        m_dialog->m_bCancel = true;
        m_thread->wait();
    }
}

void CTransferRunner::Start(CloneDirection direction, const QString& port, const RadioImage& image) {
    if (m_thread) return;
    m_port = port;
    m_clock.start();
    const std::string portName = port.toStdString();
    m_thread = QThread::create([this, direction, portName, image] {
        QtSerialLink link;
        PreciseClock clock;
        DialogInteraction user(m_dialog);
        CloneEngine engine(link, clock, user);
        const CloneResult result = engine.Run(direction, portName, image);
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
