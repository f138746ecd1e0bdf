#include "print/ReportPainter.h"

#include <algorithm>
#include <vector>

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "image/FileAccess.h"
#include "res/Texts.h"

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
    // No ligatures: a text copied from or searched in a PDF reads "Off", not "Oﬀ".
    font.setStyleStrategy(QFont::PreferNoShaping);
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

bool PaintReportPages(QPagedPaintDevice* device, int resolution, const ReportInputs& inputs,
                      const std::vector<int>& pages) {
    QPainter painter;
    if (!painter.begin(device)) return false;
    const QRect area = device->pageLayout().paintRectPixels(resolution);
    PageGeometry geometry{area.width(), area.height(), device->logicalDpiX(), device->logicalDpiY()};
    const LineStep step = [&](const FontRequest& request) {
        const QFontMetrics metrics(ReportQFont(request, geometry.dpiX, geometry.dpiY, device), device);
        return (metrics.height() + metrics.leading()) * 1440 / geometry.dpiY;
    };
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device->newPage()) return false;
        const int page = pages[i];
        const ReportPage layout = LayoutReportPage(page, inputs, geometry, step);
        const QFont title = ReportQFont(layout.title, geometry.dpiX, geometry.dpiY, device);
        const QFont body = ReportQFont(layout.body, geometry.dpiX, geometry.dpiY, device);
        // Every text of a line stands on the baseline of the report's own
        // font, whichever font its Chinese glyphs come from: a text's top
        // would follow the tallest font it uses, and Latin and Chinese
        // cells of one channel would not line up.
        const int titleAscent = QFontMetrics(title, device).ascent();
        const int bodyAscent = QFontMetrics(body, device).ascent();
        for (const ReportLine& line : layout.lines) {
            const bool isTitle = line.font == ReportFont::Title;
            painter.setFont(isTitle ? title : body);
            const QPoint baseline(line.x * geometry.dpiX / 1440,
                                  -line.y * geometry.dpiY / 1440 + (isTitle ? titleAscent : bodyAscent));
            painter.drawText(baseline, QString::fromStdString(line.text));
        }
    }
    return painter.end();
}

// The pages the printer's range selects (all five by default), in order.
std::vector<int> ReportPageRange(const QPrinter* printer) {
    int first = 1, last = kReportPages;
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        first = std::max(1, printer->fromPage());
        last = std::min(kReportPages, printer->toPage());
    }
    std::vector<int> pages;
    for (int page = first; page <= last; ++page) pages.push_back(page);
    return pages;
}

// The pages of a file that stands for the printed job: the range in the
// order chosen, as many times as the copies asked for, each copy whole or
// each page repeated as the collating choice says.
std::vector<int> PagesAsPrinted(const QPrinter* printer) {
    std::vector<int> range = ReportPageRange(printer);
    if (printer->pageOrder() == QPrinter::LastPageFirst) std::reverse(range.begin(), range.end());
    const int copies = std::max(1, printer->copyCount());
    std::vector<int> pages;
    if (printer->collateCopies()) {
        for (int copy = 0; copy < copies; ++copy) pages.insert(pages.end(), range.begin(), range.end());
    } else {
        for (int page : range) pages.insert(pages.end(), static_cast<std::size_t>(copies), page);
    }
    return pages;
}

}  // namespace

bool PaintReport(QPrinter* printer, const ReportInputs& inputs) {
    return PaintReportPages(printer, printer->resolution(), inputs, ReportPageRange(printer)) &&
           printer->printerState() != QPrinter::Error;
}

std::optional<Failure> SaveReportPdf(const QPrinter* settings, const ReportInputs& inputs, const std::string& path) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    bool drawn = false;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(settings->resolution());
        writer.setPageLayout(settings->pageLayout());
        writer.setTitle(settings->docName());
        drawn = PaintReportPages(&writer, writer.resolution(), inputs, PagesAsPrinted(settings));
    }
    if (!drawn) return SaveFailure(path, {TextId::PdfNotDrawn, {}});
    return WriteFileAtomically(
        path, std::string_view(buffer.data().constData(), static_cast<std::size_t>(buffer.data().size())));
}
