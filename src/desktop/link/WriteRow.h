#pragma once
// One radio of several written at once: its port, its own bar and status,
// and its own "取消", which stops this radio alone.
#include <QWidget>

#include "link/EngineRunner.h"

class QLabel;
class QProgressBar;
class QPushButton;

class CWriteRow : public QWidget, public CEngineTarget {
    Q_OBJECT
public:
    CWriteRow(const QString& port, QWidget* parent);

    // With `backup` the radio is read into the history first.
    void Start(const RadioImage& image, bool backup);
    bool IsRunning() const { return Runner().IsRunning(); }
    QString Port() const { return m_port; }

    QWidget* Window() override { return this; }
    void SetStatus(const QString& text) override;
    void SetProgress(int position) override;
    QString BoxPrefix() const override;

    QProgressBar* Bar() const { return m_bar; }
    QLabel* Status() const { return m_status; }
    QPushButton* CancelButton() const { return m_cancel; }

signals:
    void finished(const QString& port, const CloneResult& result);

private:
    void AskToStop();

    QString m_port;
    QProgressBar* m_bar;
    QLabel* m_status;
    QPushButton* m_cancel;
};
