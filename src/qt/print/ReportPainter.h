#pragma once
// Draws the report's pages on a printer (a real one or the preview) with the
// fonts the layout asks for, or saves them as a PDF file.
#include <optional>
#include <string>

#include "print/ReportLayout.h"
#include "res/Failure.h"

class QPrinter;

// Draws the pages the printer's range selects (all five by default); false
// when the printer could not take them.
bool PaintReport(QPrinter* printer, const ReportInputs& inputs);

// Draws the pages the printer's range selects, in its page order and as
// many copies as it asks for, with its page layout, resolution and document
// name, into a PDF and saves it over `path` whole or not at all; the failure
// when it could not.
std::optional<Failure> SaveReportPdf(const QPrinter* settings, const ReportInputs& inputs, const std::string& path);
