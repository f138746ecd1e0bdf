#include "print/PrintCommands.h"

#include <QAction>
#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

#include "ui/DialogFrame.h"
#include "ui/Messenger.h"
#include "print/PreviewLayout.h"
#include "print/ReportPainter.h"
#include "res/ResourceIds.h"
#include "res/QtText.h"

namespace {

// A print job starts with every page, one copy, first page first: what the
// last job chose went with it. The printer, the page set-up and the file name
// stay as they were.
void StartNewJob(QPrinter* printer) {
    printer->setPrintRange(QPrinter::AllPages);
    printer->setFromTo(0, 0);
    printer->setCopyCount(1);
    printer->setCollateCopies(true);
    printer->setPageOrder(QPrinter::FirstPageFirst);
}

}  // namespace

CPrintCommands::CPrintCommands(QWidget* window, std::function<ReportInputs()> inputs, RefuseFile refuseFile)
    : QObject(window), m_window(window), m_inputs(std::move(inputs)), m_refuseFile(std::move(refuseFile)) {}

CPrintCommands::~CPrintCommands() = default;

QPrinter* CPrintCommands::Printer() {
    // Made at the first print command: a printer loads the print system's
    // libraries, which the program's start need not wait for.
    if (!m_printer) m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    // The PDF's title and the file name the print window offers, in the
    // language spoken now.
    m_printer->setDocName(QTr(TextId::AppTitle));
    return m_printer.get();
}

void CPrintCommands::OnFilePrint() {
    StartNewJob(Printer());
    QPrintDialog dialog(Printer(), m_window);
    dialog.setMinMax(1, kReportPages);
    dialog.setWindowTitle(QTr(TextId::PrintTitle));
    if (dialog.exec() == QDialog::Accepted) PrintOrSave();
}

bool CPrintCommands::PrintOrSave() {
    // Printing to a file makes a PDF, saved whole or not at all like every file.
    const QString file = Printer()->outputFileName();
    if (Printer()->outputFormat() == QPrinter::PdfFormat && !file.isEmpty()) {
        auto failure = m_refuseFile(QFileInfo(file).absoluteFilePath().toStdString());
        if (!failure) failure = SaveReportPdf(Printer(), m_inputs(), file.toStdString());
        if (failure) Messenger::Show(m_window, *failure);
        return !failure;
    }
    return PaintReport(Printer(), m_inputs());
}

bool CPrintCommands::OnFilePrintDirect(const QString& printerName) {
    QString problem;
    if (!printerName.isEmpty()) {
        if (QPrinterInfo::printerInfo(printerName).isNull())
            problem = QTr(TextId::PrinterNotFound).arg(printerName);
        else
            Printer()->setPrinterName(printerName);
    } else if (Printer()->outputFileName().isEmpty() && QPrinterInfo::defaultPrinter().isNull()) {
        problem = QTr(TextId::NoPrinter);
    }
    if (!problem.isEmpty()) {
        Messenger::Show(m_window, problem, Buttons::Ok, MessageIcon::Warning);
        return false;
    }
    StartNewJob(Printer());
    return PrintOrSave();
}

void CPrintCommands::OnFilePrintPreview() {
    StartNewJob(Printer());
    QPrintPreviewDialog preview(Printer(), m_window);
    preview.setObjectName(QString::number(ids::ID_FILE_PRINT_PREVIEW));
    preview.setWindowTitle(QTr(TextId::PrintPreviewTitle));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* printer) { PaintReport(printer, m_inputs()); });
    if (auto* toolbar = preview.findChild<QToolBar*>()) {
        QAction* close = toolbar->addAction(QTr(TextId::PreviewClose));
        close->setObjectName(QStringLiteral("closePreview"));
        close->setStatusTip(QTr(TextId::PreviewCloseTip));
        close->setToolTip(QTr(TextId::PreviewCloseToolTip));
        connect(close, &QAction::triggered, &preview, &QDialog::reject);
    }
    LayOutPreview(&preview);
    ResizeWithinScreen(&preview, {1000, 760});
    preview.exec();
}

void CPrintCommands::OnFilePrintSetup() {
    QPageSetupDialog dialog(Printer(), m_window);
    dialog.setWindowTitle(QTr(TextId::PrintSetupTitle));
    dialog.exec();
}
