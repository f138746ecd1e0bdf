#include "print/PrintCommands.h"

#include <QAction>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

#include "app/Messenger.h"
#include "print/ReportPainter.h"
#include "res/ResourceIds.h"

namespace {

// The preview lays every page out two across, in reading order (pages 1 and
// 2 side by side, then 3 and 4, then 5), and fits the pair to the window's
// width. Qt's own facing-pages view starts with page 1 alone on the right.
void ShowTwoPagesAcross(QPrintPreviewWidget* widget) {
    if (widget->viewMode() != QPrintPreviewWidget::AllPagesView) return;
    auto* view = widget->findChild<QGraphicsView*>();
    if (!view || !view->scene()) return;
    QList<QGraphicsItem*> pages;
    for (QGraphicsItem* item : view->scene()->items())
        if (!item->parentItem()) pages << item;
    if (pages.isEmpty()) return;
    std::sort(pages.begin(), pages.end(), [](QGraphicsItem* a, QGraphicsItem* b) {
        return a->pos().y() != b->pos().y() ? a->pos().y() < b->pos().y() : a->pos().x() < b->pos().x();
    });
    const QSizeF size = pages.first()->boundingRect().size();
    bool moved = false;
    for (int i = 0; i < pages.size(); ++i) {
        const QPointF place((i % 2) * size.width(), (i / 2) * size.height());
        if (pages[i]->pos() == place) continue;
        pages[i]->setPos(place);
        moved = true;
    }
    if (!moved) return;
    view->scene()->setSceneRect(view->scene()->itemsBoundingRect());
    widget->setZoomMode(QPrintPreviewWidget::FitToWidth);
}

}  // namespace

CPrintCommands::CPrintCommands(QWidget* window, std::function<ReportInputs()> inputs)
    : QObject(window), m_window(window), m_inputs(std::move(inputs)), m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    m_printer->setDocName(QStringLiteral("OstrelTZ写频软件"));
}

CPrintCommands::~CPrintCommands() = default;

void CPrintCommands::OnFilePrint() {
    QPrintDialog dialog(m_printer.get(), m_window);
    dialog.setMinMax(1, kReportPages);
    dialog.setWindowTitle(QStringLiteral("打印"));
    if (dialog.exec() == QDialog::Accepted) PaintReport(m_printer.get(), m_inputs());
}

bool CPrintCommands::OnFilePrintDirect(const QString& printerName) {
    QString problem;
    if (!printerName.isEmpty()) {
        if (QPrinterInfo::printerInfo(printerName).isNull())
            problem = QStringLiteral("找不到打印机“%1”。").arg(printerName);
        else
            m_printer->setPrinterName(printerName);
    } else if (m_printer->outputFileName().isEmpty() && QPrinterInfo::defaultPrinter().isNull()) {
        problem = QStringLiteral("没有可用的打印机。");
    }
    if (!problem.isEmpty()) {
        Messenger::Show(m_window, problem, Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    m_printer->setPrintRange(QPrinter::AllPages);
    PaintReport(m_printer.get(), m_inputs());
    return m_printer->printerState() != QPrinter::Error;
}

void CPrintCommands::OnFilePrintPreview() {
    QPrintPreviewDialog preview(m_printer.get(), m_window);
    preview.setObjectName(QString::number(ids::ID_FILE_PRINT_PREVIEW));
    preview.setWindowTitle(QStringLiteral("打印预览"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) { PaintReport(printer, m_inputs()); });
    if (auto* widget = preview.findChild<QPrintPreviewWidget*>()) {
        widget->setViewMode(QPrintPreviewWidget::AllPagesView);
        connect(widget, &QPrintPreviewWidget::previewChanged, widget, [widget] { ShowTwoPagesAcross(widget); });
    }
    if (auto* toolbar = preview.findChild<QToolBar*>()) {
        QAction* close = toolbar->addAction(QStringLiteral("关闭"));
        close->setObjectName(QStringLiteral("closePreview"));
        close->setStatusTip(QStringLiteral("关闭打印预览模式"));
        close->setToolTip(QStringLiteral("取消预阅"));
        connect(close, &QAction::triggered, &preview, &QDialog::reject);
    }
    preview.resize(1000, 760);
    preview.exec();
}

void CPrintCommands::OnFilePrintSetup() {
    QPageSetupDialog dialog(m_printer.get(), m_window);
    dialog.setWindowTitle(QStringLiteral("打印设置"));
    dialog.exec();
}
