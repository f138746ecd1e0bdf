#pragma once
// Draws the report's pages on a printer (a real one or the preview) with the
// fonts the layout asks for, or saves them as a PDF file.
#include <string>

#include "print/ReportLayout.h"

class QPrinter;

// Draws the pages the printer's range selects (all five by default); false
// when the printer could not take them.
bool PaintReport(QPrinter* printer, const ReportInputs& inputs);

// Draws the pages the printer's range selects, with its page layout,
// resolution and document name, into a PDF and saves it over `path` whole or
// not at all; false with the user's message in `error` when it could not.
bool SaveReportPdf(const QPrinter* settings, const ReportInputs& inputs, const std::string& path, std::string* error);
