#include "editor/ComparePanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/ChannelGrid.h"
#include "editor/KeshView.h"
#include "res/CommandTable.h"
#include "res/QtText.h"
#include "ui/CommandPath.h"

namespace {
constexpr int kChannelRole = Qt::UserRole;
constexpr int kColumnRole = Qt::UserRole + 1;
}  // namespace

CComparePanel::CComparePanel(CKeshView* view, CCommandPath* commands, QWidget* parent)
    : QDockWidget(parent), m_view(view) {
    setObjectName(QStringLiteral("comparePanel"));
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* body = new QWidget(this);
    m_summary = new QLabel(body);
    m_list = new QListWidget(body);
    m_list->setObjectName(QStringLiteral("differences"));
    // A few lines: the grid above keeps most of the window.
    m_list->setMaximumHeight(m_list->fontMetrics().height() * 6 + 8);
    m_previous = new QPushButton(body);
    m_previous->setObjectName(QStringLiteral("previousDifference"));
    m_next = new QPushButton(body);
    m_next->setObjectName(QStringLiteral("nextDifference"));
    m_end = new QPushButton(body);
    m_end->setObjectName(QStringLiteral("endComparison"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_summary, 1);
    for (QPushButton* b : {m_previous, m_next, m_end}) buttons->addWidget(b);
    auto* layout = new QVBoxLayout(body);
    layout->addLayout(buttons);
    layout->addWidget(m_list, 1);
    setWidget(body);
    hide();

    // The buttons are the commands of the same names.
    connect(m_previous, &QPushButton::clicked, this,
            [this, commands] { commands->Run([this] { m_view->StepDifference(false); }); });
    connect(m_next, &QPushButton::clicked, this,
            [this, commands] { commands->Run([this] { m_view->StepDifference(true); }); });
    connect(m_end, &QPushButton::clicked, this,
            [this, commands] { commands->Run([this] { m_view->EndComparison(); }); });
    // A line of a channel field goes to its cell.
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int channel = item->data(kChannelRole).toInt();
        const int column = item->data(kColumnRole).toInt();
        if (channel == 0 || column == 0) return;
        m_view->Grid()->SelectCells(CellRange{channel, column, channel, column});
        m_view->Grid()->setFocus();
    });
    connect(m_view, &CKeshView::comparisonChanged, this, &CComparePanel::Refill);
    ApplyTexts();
}

void CComparePanel::ApplyTexts() {
    m_previous->setText(QTr(TextId::ButtonPrevious));
    m_next->setText(QTr(TextId::ButtonNext));
    m_end->setText(QString::fromStdString(CommandLabel(Tr(TextId::CmdEndCompare))));
    Refill();
}

void CComparePanel::Refill() {
    const ImageComparison& comparison = m_view->Comparison();
    setVisible(comparison.Active());
    m_list->clear();
    if (!comparison.Active()) return;
    setWindowTitle(QString::fromStdString(TrFormat(TextId::CompareTitle, {comparison.Name()})));
    const auto& differences = comparison.Differences();
    m_summary->setText(differences.empty() ? QTr(TextId::CompareSame)
                                           : QString::fromStdString(
                                                 TrFormat(TextId::CompareCount, {std::to_string(differences.size())})));
    for (const ImageDifference& d : differences) {
        auto* item = new QListWidgetItem(QString::fromStdString(DifferenceLine(d)), m_list);
        item->setData(kChannelRole, d.area == DiffArea::ChannelField ? d.channel : 0);
        item->setData(kColumnRole, d.column);
    }
    const bool cells = comparison.Step(0, 0, true) >= 0;
    m_previous->setEnabled(cells);
    m_next->setEnabled(cells);
}
