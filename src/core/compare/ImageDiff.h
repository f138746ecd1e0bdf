#pragma once
// What differs between two radio images, in the user's words: channel by
// channel and field by field with the grid's texts, the radio-wide settings
// by their option names, and the bytes no text shows by their offset.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "image/RadioImage.h"
#include "link/CloneEngine.h"
#include "res/Failure.h"
#include "res/Texts.h"

enum class DiffArea {
    ChannelField,  // one cell of the channel grid
    Setting,       // one radio-wide setting
    Byte,          // one byte whose difference no text shows
};

struct ImageDifference {
    DiffArea area = DiffArea::Byte;
    int channel = 0;     // 1-128 for a channel's field or byte, else 0
    int column = 0;      // 1-10 for a channel field, else 0
    TextId label{};      // the setting's name (DiffArea::Setting)
    std::string before;  // the texts, or two hex digits for a byte
    std::string after;
    std::vector<std::size_t> offsets;  // image offsets of the bytes involved
    bool operator==(const ImageDifference&) const = default;
};

struct CompareOptions {
    // Channels empty on both sides differ also in the bytes a saved empty row
    // holds (a new document's 0xFF against a saved row's 00 C5 FE).
    bool allBytes = false;
};

// The differences from `before` to `after`, in image order: each channel's
// fields in column order, then its hidden bytes; then the settings, then the
// settings block's hidden bytes. Texts are in the current language.
std::vector<ImageDifference> CompareImages(const RadioImage& before, const RadioImage& after,
                                           CompareOptions options = {});

// The field's name in `lang`: the column caption, the option's name or
// "字节 0x0BD".
std::string DifferenceCaption(const ImageDifference& d, Lang lang);
// A stable identifier of the field for scripts: the caption's text name
// ("ColRxTone", "LabelSquelch") or "Byte".
std::string DifferenceField(const ImageDifference& d);
// "频道 12 接收信令: 67.0 → 88.5", "静噪等级(SQ): 4 → 5", "字节 0x81B: FF → 01".
std::string DifferenceLine(const ImageDifference& d);
// One JSON object per difference, in an array, one object a line: channel
// (null outside the channels), field, caption {zh, en}, old, new, offsets.
std::string DifferencesJson(const std::vector<ImageDifference>& differences);

// What the other image of a comparison is called: a file by its name, or a
// text of the table ("对讲机", "历史记录 2026-12-09 14:43:49") put in words
// in the language shown at the time.
struct ComparedName {
    static ComparedName File(std::string name) { return {std::move(name), std::nullopt}; }
    static ComparedName Text(TextId id, std::vector<std::string> args = {}) {
        return {{}, Clause{id, std::move(args)}};
    }
    std::string InWords() const;

    std::string fileName;
    std::optional<Clause> text;
};

// A comparison the window keeps open while the user edits: the other image
// stays, the differences follow the working copy.
class ImageComparison {
public:
    // Compares from `other` (a file, a radio, a history entry) to the
    // document's image `current`.
    void Start(const RadioImage& other, ComparedName name, const RadioImage& current);
    void Stop();
    // The working copy changed, or the language the differences are told in.
    void Refresh(const RadioImage& current);
    // A transfer in `direction` ended with `result`; a write sent `sent`. A
    // comparison with the radio compares with what the radio now holds, once
    // refreshed: a finished read's image, or the blocks a write got through.
    void TransferEnded(CloneDirection direction, const CloneResult& result, const RadioImage& sent);

    bool Active() const { return m_active; }
    std::string Name() const { return m_name.InWords(); }
    const RadioImage& Other() const { return m_other; }
    const std::vector<ImageDifference>& Differences() const { return m_differences; }

    // Whether grid cell (row, column) differs.
    bool Marked(int row, int column) const;
    // What a differing cell held in the other image, as its tip tells it
    // ("other.sin 中为：88.5", "对讲机中为：无"); empty for a cell that does not
    // differ.
    std::string CellTip(int row, int column) const;
    std::string Tip(const ImageDifference& d) const;
    // The index of the next (or previous) difference with a grid cell after
    // (before) cell (row, column) in reading order, wrapping at the ends; -1
    // when no cell differs.
    int Step(int row, int column, bool forward) const;

private:
    const ImageDifference* CellDifference(int row, int column) const;

    bool m_active = false;
    ComparedName m_name;
    RadioImage m_other{};
    std::vector<ImageDifference> m_differences;
};
