#pragma once
// How the print preview shows the report: every page laid out two across in
// reading order (pages 1 and 2 side by side, then 3 and 4, then 5), fitted to
// the window's width in either orientation, with the keys a viewer has:
// Ctrl+Plus and Ctrl+Minus (or Ctrl and the wheel) zoom, Home and End go to
// the first and the last page, Tab reaches every button and Ctrl+P prints.
class QPrintPreviewDialog;

void LayOutPreview(QPrintPreviewDialog* preview);
