#pragma once
// The printed report: five pages of text lines at positions computed from
// the printable area and the fonts' line steps. Positions are in twips from
// the top left of the printable area with y growing upward, so every line
// has a negative y.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "image/RadioImage.h"

constexpr int kReportPages = 5;

struct ReportInputs {
    RadioImage image{};
    std::string model, band, powerLevel;                // the selected entries' texts
    std::function<std::string(int row, int col)> cell;  // channel rows 1-128, columns 0-10
};

struct PageGeometry {
    int right = 0, bottom = 0;  // the printable area in device pixels (left = top = 0)
    int dpiX = 0, dpiY = 0;
};

struct FontRequest {
    int height = 0;  // character height in twips
    int width = 0;   // average character width in twips
    bool operator==(const FontRequest&) const = default;
};

// Height plus external leading of a font, in twips.
using LineStep = std::function<int(const FontRequest&)>;

enum class ReportFont { Title, Body };

struct ReportLine {
    int x = 0, y = 0;
    ReportFont font = ReportFont::Body;
    std::string text;
};

struct ReportPage {
    FontRequest title, body;
    std::vector<ReportLine> lines;
};

// Page 1 .. 5.
ReportPage LayoutReportPage(int page, const ReportInputs& inputs, const PageGeometry& geometry,
                            const LineStep& lineStep);

// The channel table's captions, one per column, in the current language:
// each is drawn over its own column at the x of the column's values.
constexpr int kReportColumns = 11;
std::array<std::string, kReportColumns> ChannelCaptions();

// The grid rows a page lists: 1-22, 23-54, 55-86, 87-118, 119-128.
std::pair<int, int> PageRows(int page);

// The settings summary texts, as the options dialog shows the settings.
struct SettingsSummary {
    std::string pf1, pf2, alarm, squelch, scrambler, vox, voxGain, voxDelay, pttId, battery, timer, startCode, endCode,
        voxInhibit;
};
SettingsSummary SummariseSettings(const RadioImage& image);

// The inputs for an image shown as a new window would show it.
ReportInputs ReportInputsFromImage(const RadioImage& image);
