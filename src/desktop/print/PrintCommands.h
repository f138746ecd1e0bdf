#pragma once
// The print commands of the window: print with the print dialog, print
// straight to the printer, print preview (two pages side by side) and the
// printer set-up. The report shows the grid's texts as they stand.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "print/ReportLayout.h"

class QPrinter;
class QWidget;

class CPrintCommands : public QObject {
    Q_OBJECT
public:
    CPrintCommands(QWidget* window, std::function<ReportInputs()> inputs);
    ~CPrintCommands() override;

    void OnFilePrint();
    // Prints without a dialog on the default printer, or on `printerName`.
    bool OnFilePrintDirect(const QString& printerName = QString());
    void OnFilePrintPreview();
    void OnFilePrintSetup();

    QPrinter* Printer();

private:
    // Prints on the printer, or saves the PDF when the printer prints to a file.
    bool PrintOrSave();

    QWidget* m_window;
    std::function<ReportInputs()> m_inputs;
    std::unique_ptr<QPrinter> m_printer;
};
