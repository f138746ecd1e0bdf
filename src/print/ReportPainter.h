#pragma once
// Draws the report's pages on a printer (a real one, a PDF file or the
// preview) with the fonts the layout asks for.
#include "print/ReportLayout.h"

class QPrinter;

// Draws the pages the printer's range selects (all five by default).
void PaintReport(QPrinter* printer, const ReportInputs& inputs);
