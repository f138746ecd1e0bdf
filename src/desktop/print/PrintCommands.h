#pragma once
// The print commands of the window: print with the print dialog, print
// straight to the printer, print preview (two pages side by side) and the
// printer set-up. The report shows the grid's texts as they stand.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "print/ReportLayout.h"
#include "res/Failure.h"

class QPrinter;
class QWidget;

class CPrintCommands : public QObject {
    Q_OBJECT
public:
    // `refuseFile` says why the report may not be saved to a file (the
    // document's own), or nothing.
    using RefuseFile = std::function<std::optional<Failure>(const std::string& path)>;
    CPrintCommands(QWidget* window, std::function<ReportInputs()> inputs, RefuseFile refuseFile);
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
    RefuseFile m_refuseFile;
    std::unique_ptr<QPrinter> m_printer;
};
