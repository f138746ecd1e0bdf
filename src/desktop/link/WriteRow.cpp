#include "link/WriteRow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "ui/Messenger.h"
#include "link/WriteLog.h"
#include "res/QtText.h"

CWriteRow::CWriteRow(const QString& port, QWidget* parent) : QWidget(parent), m_port(port) {
    auto* name = new QLabel(port, this);
    name->setMinimumWidth(110);
    m_bar = new QProgressBar(this);
    m_bar->setRange(0, kBlockCount);
    m_bar->setTextVisible(false);
    m_status = new QLabel(QTr(TextId::ProgressNotStarted), this);
    m_status->setMinimumWidth(150);
    m_cancel = new QPushButton(QTr(TextId::ButtonCancel), this);
    m_cancel->setAutoDefault(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(name);
    layout->addWidget(m_bar, 1);
    layout->addWidget(m_status);
    layout->addWidget(m_cancel);
    connect(m_cancel, &QPushButton::clicked, this, &CWriteRow::AskToStop);
    connect(&Runner(), &CEngineRunner::transferFinished, this, [this](const CloneResult& result) {
        m_cancel->setEnabled(false);
        m_bar->setValue(result.outcome == CloneOutcome::Completed ? kBlockCount : m_bar->value());
        m_status->setText(QString::fromUtf8(CloneOutcomeText(result.outcome)));
        emit finished(m_port, result);
    });
}

void CWriteRow::Start(const RadioImage& image, bool backup) {
    m_bCancel = false;
    m_bWatch = true;
    Runner().StartTransfer(CloneDirection::Write, m_port, image, backup);
}

void CWriteRow::SetStatus(const QString& text) { m_status->setText(text); }
void CWriteRow::SetProgress(int position) { m_bar->setValue(position); }

QString CWriteRow::BoxPrefix() const { return m_port; }

// Stopping halfway leaves this radio with new data in its first blocks and
// old data after them: only on a confirmed question, once blocks went through.
void CWriteRow::AskToStop() {
    if (!IsRunning() || m_bCancel) return;
    if (!StoppingWriteAsks(CloneDirection::Write, m_bar->value())) {
        m_bCancel = true;
        return;
    }
    MessageRequest question{QTr(TextId::AskAbortWrite), QString(), Buttons::OkCancel, MessageIcon::Question};
    question.cancelIsDefault = true;
    question.text = BoxPrefix() + QStringLiteral("\n") + question.text;
    if (Messenger::Show(this, question) == Answer::Ok && IsRunning()) m_bCancel = true;
}
