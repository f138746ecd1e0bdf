#include "link/ProgressDlg.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMoveEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/PortChecklist.h"
#include "link/WriteLog.h"
#include "link/WriteRow.h"
#include "link/WriteSessionPanel.h"
#include "res/QtText.h"
#include "res/ResourceIds.h"
#include "ui/DialogFrame.h"
#include "ui/Messenger.h"

CProgressDlg::CProgressDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QString::number(ids::IDD_PROGRESS));
    setModal(false);
    m_start = new QPushButton(this);
    m_start->setObjectName(QStringLiteral("1"));
    m_start->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("2"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("1003"));
    m_bar->setRange(0, kBlockCount);
    m_bar->setTextVisible(false);
    m_done = new QLabel(this);
    m_done->setObjectName(QStringLiteral("1004"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("1005"));
    m_status->setMinimumWidth(170);
    m_backup = new QCheckBox(this);
    m_backup->setObjectName(QStringLiteral("backupFirst"));
    m_phase = new QLabel(this);
    m_phase->setObjectName(QStringLiteral("phase"));
    // Made in the order they show, which Tab follows.
    m_ports = new CPortChecklist(this);
    m_rowArea = new QWidget(this);
    m_rowLayout = new QVBoxLayout(m_rowArea);
    m_rowLayout->setContentsMargins(0, 0, 0, 0);
    m_session = new CWriteSessionPanel(this);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_start, 0, 0, Qt::AlignLeft);
    layout->addWidget(m_bar, 1, 0, 1, 3);
    layout->addWidget(m_done, 2, 0);
    layout->addWidget(m_status, 2, 1);
    layout->addWidget(m_cancel, 2, 2);
    layout->addWidget(m_backup, 3, 0, 1, 3);
    layout->addWidget(m_phase, 4, 0, 1, 3);
    layout->addWidget(m_ports, 5, 0, 1, 3);
    layout->addWidget(m_rowArea, 6, 0, 1, 3);
    layout->addWidget(m_session, 7, 0, 1, 3);
    connect(m_backup, &QCheckBox::toggled, this, [this] { ShowPhase(m_phase->text()); });
    connect(m_start, &QPushButton::clicked, this, &CProgressDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &CProgressDlg::reject);
    ShowCloseButtonOnly(this);
    FixSize(this);
}

void CProgressDlg::Open(const QString& caption, bool write, QWidget* over, const QString& port) {
    m_strCaption = caption;
    m_bWrite = write;
    SetProgress(0);
    // Texts set on every opening follow a language chosen since the last.
    m_start->setText(QTr(TextId::ButtonStart));
    m_cancel->setText(QTr(TextId::ButtonCancel));
    m_done->setText(QTr(TextId::ProgressDone));
    m_status->setText(QTr(TextId::ProgressNotStarted));
    m_backup->setText(QTr(TextId::BackupOption));
    m_backup->setVisible(write);
    m_backup->setEnabled(true);
    SetPhase(write ? CloneDirection::Write : CloneDirection::Read, QString());
    m_session->Reset();
    m_session->setVisible(write);
    m_ports->Reset(port);
    m_ports->setVisible(write);
    m_ports->setEnabled(true);
    ShowOneBar();
    m_bCancel = false;
    m_bWatch = true;
    m_interrupted = false;
    m_start->setEnabled(true);
    setWindowTitle(m_strCaption);
    adjustSize();
    m_centering = true;
    if (over) move(over->mapToGlobal(over->rect().center()) - rect().center());
    show();
    m_centering = false;
    raise();
    activateWindow();
    m_start->setFocus();
}

bool CProgressDlg::IsStarted() const { return isVisible() && !m_start->isEnabled(); }

QStringList CProgressDlg::Ports() const { return m_ports->CheckedPorts(); }

bool CProgressDlg::RowsRunning() const {
    return std::any_of(m_rows.begin(), m_rows.end(), [](const CWriteRow* row) { return row->IsRunning(); });
}

// The window's own bar, without the rows of an earlier round of several radios.
void CProgressDlg::ShowOneBar() {
    qDeleteAll(m_rows);
    m_rows.clear();
    m_rowArea->hide();
    m_bar->show();
}

void CProgressDlg::StartAtOnce(const QStringList& ports, const RadioImage& image, bool backup) {
    ShowOneBar();
    // Every radio's result goes into the log, which stays in view.
    m_session->Continuous()->setChecked(true);
    m_ports->setEnabled(false);
    m_backup->setEnabled(false);
    m_status->setText(QString::fromStdString(m_session->Log().CountText()));
    for (const QString& port : ports) {
        auto* row = new CWriteRow(port, m_rowArea);
        m_rowLayout->addWidget(row);
        m_rows << row;
        connect(row, &CWriteRow::finished, this, &CProgressDlg::OnRowFinished);
    }
    // Each row has its own bar; the window's own would stand still.
    m_bar->hide();
    m_rowArea->show();
    for (CWriteRow* row : m_rows) row->Start(image, backup);
}

void CProgressDlg::OnRowFinished(const QString& port, const CloneResult& result) {
    m_session->Record(port, result);
    m_status->setText(QString::fromStdString(m_session->Log().CountText()));
    if (RowsRunning()) return;
    m_start->setEnabled(true);
    m_session->SetRunning(false);
    m_ports->setEnabled(true);
    m_backup->setEnabled(true);
    m_start->setFocus();
    emit rowsFinished();
}

void CProgressDlg::Finish(const QString& port, const CloneResult& result) {
    // A question about stopping the transfer no longer applies.
    Messenger::Withdraw(this);
    m_start->setEnabled(true);
    m_session->SetRunning(false);
    m_ports->setEnabled(true);
    m_backup->setEnabled(true);
    if (!m_bWrite || !m_session->IsOn()) {
        hide();
        // Told once the transfer has stopped, so that nothing takes it back.
        if (std::exchange(m_interrupted, false))
            Messenger::Show(parentWidget(), QTr(TextId::ProgressInterrupted), Buttons::Ok, MessageIcon::Warning);
        return;
    }
    // The next radio: the bar and the flags as for a new window, the last
    // radio's result in the status line.
    m_session->Record(port, result);
    m_status->setText(QString::fromUtf8(CloneOutcomeText(result.outcome)));
    SetProgress(0);
    SetPhase(CloneDirection::Write, QString());
    m_bCancel = false;
    m_bWatch = true;
    m_start->setFocus();
}

bool CProgressDlg::Backup() const { return m_bWrite && m_backup->isChecked(); }

void CProgressDlg::SetPhase(CloneDirection running, const QString& text) {
    m_running = running;
    ShowPhase(text);
}

void CProgressDlg::ShowPhase(const QString& text) {
    m_phase->setText(text);
    // While a backup is asked for, the line of the steps keeps its place
    // empty, so that the window does not grow when the first step shows.
    const QLabel step(QTr(TextId::BackupPhaseRead));
    m_phase->setMinimumHeight(step.sizeHint().height());
    m_phase->setVisible(!text.isEmpty() || Backup());
}

void CProgressDlg::SetStatus(const QString& text) { m_status->setText(text); }
void CProgressDlg::SetProgress(int position) { m_bar->setValue(position); }

void CProgressDlg::OnOK() {
    ShowOneBar();  // a round of several radios shows its own rows again
    m_start->setEnabled(false);
    m_session->SetRunning(true);
    m_ports->setEnabled(false);
    m_backup->setEnabled(false);
    emit startRequested();
}

void CProgressDlg::reject() {
    if (RowsRunning()) {
        MessageRequest question{QTr(TextId::AskAbortWrite), QString(), Buttons::OkCancel, MessageIcon::Question};
        question.cancelIsDefault = true;
        if (Messenger::Show(this, question) != Answer::Ok) return;
        for (CWriteRow* row : m_rows) row->m_bCancel = true;
        return;
    }
    if (m_bCancel) return;
    // Stopping a write halfway leaves the radio with new data in its first
    // blocks and old data after them: only on a confirmed question.
    if (IsStarted() && m_bWrite) {
        AskToStopWrite();
        return;
    }
    m_bCancel = true;
    // Before the start the window closes at once; afterwards the transfer
    // sees the flag at its next check and ends the window itself.
    if (m_start->isEnabled()) hide();
}

bool CProgressDlg::AskToStopWrite() {
    if (StoppingWriteAsks(m_running, m_bar->value())) {
        MessageRequest question{QTr(TextId::AskAbortWrite), QString(), Buttons::OkCancel, MessageIcon::Question};
        question.cancelIsDefault = true;
        // A write that ended while the question was shown took the question back.
        if (Messenger::Show(this, question) != Answer::Ok || !IsStarted()) return false;
    }
    m_bCancel = true;
    return true;
}

void CProgressDlg::Interrupt() {
    m_bCancel = true;
    m_interrupted = true;
}

// A read is stopped by leaving or moving its window (nothing is lost by
// stopping a read), though not by a window of its own such as its help; a
// write goes on, so that a stray click cannot leave the radio half written.
void CProgressDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    const QWidget* now = QApplication::activeWindow();
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && !m_bCancel && IsStarted() && m_bWatch &&
        !m_bWrite && !(now && now->parentWidget() == this))
        Interrupt();
}

// Shown and closed by the program; the window system's own (minimized,
// restored) leave the window open.
void CProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) emit openChanged(true);
}

void CProgressDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) emit openChanged(false);
}

// Grown by what it comes to show (the radios written one after another), the
// window stays on its screen; that move is the program's, not the user's.
void CProgressDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!isVisible()) return;
    m_centering = true;
    KeepOnScreen(this);
    m_centering = false;
}

void CProgressDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (!m_centering && IsStarted() && !m_bWrite && event->oldPos() != event->pos()) Interrupt();
}
