// The printed report laid out by the rules, for the page's print preview:
// five pages of lines at twip positions, drawn by the browser as HTML.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "Session.h"
#include "print/ReportLayout.h"

using emscripten::val;

namespace {

// An A4 sheet less 12.7 mm margins, at the CSS 96 dots per inch.
constexpr PageGeometry kA4{698, 1026, 96, 96};

// A line step of the font's height and a sixth for the leading, as common
// screen fonts have it.
int LineStepOf(const FontRequest& font) { return font.height + font.height / 6; }

val FontValue(const FontRequest& font) {
    val out = val::object();
    out.set("height", font.height);
    out.set("width", font.width);
    return out;
}

val ReportPages() {
    const ReportInputs inputs = ReportInputsFromImage(TheSession().ImageForSave());
    val pages = val::array();
    for (int page = 1; page <= kReportPages; ++page) {
        const ReportPage layout = LayoutReportPage(page, inputs, kA4, LineStepOf);
        val lines = val::array();
        for (const ReportLine& line : layout.lines) {
            val l = val::object();
            l.set("x", line.x);
            l.set("y", line.y);
            l.set("title", line.font == ReportFont::Title);
            l.set("text", line.text);
            lines.call<void>("push", l);
        }
        val out = val::object();
        out.set("title", FontValue(layout.title));
        out.set("body", FontValue(layout.body));
        out.set("lines", lines);
        out.set("width", kA4.right);
        out.set("height", kA4.bottom);
        pages.call<void>("push", out);
    }
    return pages;
}

}  // namespace

EMSCRIPTEN_BINDINGS(ostreltz_report) { emscripten::function("reportPages", &ReportPages); }
