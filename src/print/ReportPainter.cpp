#include "print/ReportPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

namespace {

// "Times New Roman" at the character height and average width asked for, in
// device pixels; the Chinese glyphs come from the system's fallback font.
// As with any font of a given average width, a Chinese character takes at
// most two such widths: the report's columns are laid out for that, and the
// fallback font's own proportions (which follow a stretch only roughly)
// would otherwise run neighbouring captions together.
QFont ReportQFont(const FontRequest& request, int dpiX, int dpiY, QPaintDevice* device) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(std::max(1, request.height * dpiY / 1440));
    const int average = QFontMetrics(font, device).averageCharWidth();
    const int wanted = request.width * dpiX / 1440;
    if (average <= 0 || wanted <= 0) return font;
    int stretch = wanted * 100 / average;
    font.setStretch(std::clamp(stretch, 1, 4000));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int chinese = QFontMetrics(font, device).horizontalAdvance(QChar(0x4E2D));  // 中
        if (chinese <= 2 * wanted) break;
        stretch = stretch * 2 * wanted / chinese;
        font.setStretch(std::clamp(stretch, 1, 4000));
    }
    return font;
}

}  // namespace

void PaintReport(QPrinter* printer, const ReportInputs& inputs) {
    QPainter painter(printer);
    const QRect area = printer->pageLayout().paintRectPixels(printer->resolution());
    PageGeometry geometry{area.width(), area.height(), printer->logicalDpiX(), printer->logicalDpiY()};
    const LineStep step = [&](const FontRequest& request) {
        const QFontMetrics metrics(ReportQFont(request, geometry.dpiX, geometry.dpiY, printer), printer);
        return (metrics.height() + metrics.leading()) * 1440 / geometry.dpiY;
    };
    int first = 1, last = kReportPages;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = std::max(1, printer->fromPage());
        last = std::min(kReportPages, printer->toPage());
    }
    for (int page = first; page <= last; ++page) {
        if (page > first) printer->newPage();
        const ReportPage layout = LayoutReportPage(page, inputs, geometry, step);
        const QFont title = ReportQFont(layout.title, geometry.dpiX, geometry.dpiY, printer);
        const QFont body = ReportQFont(layout.body, geometry.dpiX, geometry.dpiY, printer);
        for (const ReportLine& line : layout.lines) {
            painter.setFont(line.font == ReportFont::Title ? title : body);
            const QPoint topLeft(line.x * geometry.dpiX / 1440, -line.y * geometry.dpiY / 1440);
            painter.drawText(QRect(topLeft, QSize(area.width(), area.height())), Qt::AlignLeft | Qt::AlignTop,
                             QString::fromStdString(line.text));
        }
    }
}
