#pragma once
// What the image is shown in: a table of cell texts (rows 1-128, columns 1-10)
// plus the selection index of each of the four form boxes. The channel grid of
// the window is one; PlainChannelTable serves the command line and the tests.
#include <string>
#include <vector>

#include "image/ChannelCodec.h"
#include "image/FormSelections.h"

class IChannelTable {
public:
    virtual ~IChannelTable() = default;
    virtual std::string CellText(int row, int column) const = 0;
    virtual void SetCellText(int row, int column, const std::string& text) = 0;
    virtual int Selection(FormBox box) const = 0;
    virtual void SetSelection(FormBox box, int index) = 0;
};

class PlainChannelTable : public IChannelTable {
public:
    PlainChannelTable() : m_cells(kChannelCount + 1) {}
    std::string CellText(int row, int column) const override {
        return m_cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column));
    }
    void SetCellText(int row, int column, const std::string& text) override {
        m_cells.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = text;
    }
    int Selection(FormBox box) const override { return m_selection[static_cast<std::size_t>(box)]; }
    void SetSelection(FormBox box, int index) override { m_selection[static_cast<std::size_t>(box)] = index; }

private:
    std::vector<std::array<std::string, col::kCount>> m_cells;
    std::array<int, 4> m_selection{};
};

// Rewrites rows 1-128, columns 1-10 and the four selections from the image.
void UpdateGridFromImage(const RadioImage& image, IChannelTable& table);
// Encodes `texts` into `record`. In a channel in use each field whose text
// is still the one its bits decode to (in either language) keeps them,
// values its texts cannot tell apart included (an optional signalling of 1, a
// busy lockout mode of 6, a tone word outside the table); a new channel is
// encoded whole, and a row without frequencies as it will be read back.
void EncodeChangedRecord(const ChannelTexts& texts, ChannelRecord& record);
// Rebuilds the channel records that changed and the selection bytes from the table.
void UpdateImageFromGrid(const IChannelTable& table, RadioImage& image);

// The caption of column `column` (0-10), as the CSV header row and the text
// listings spell it.
std::string ColumnCaption(int column);
std::string ColumnCaptionIn(int column, Lang lang);
// The caption as the grid's header row shows it (two with a leading blank).
std::string GridCaptionIn(int column, Lang lang);
// Whether two texts are the same but for the case of their ASCII letters.
bool EqualNoCase(std::string_view a, std::string_view b);
// The column (0-10) whose caption in either language is `caption`, or -1.
int ColumnOfCaption(std::string_view caption);
// Shows the list texts of the table (宽/窄 and the like) in `lang`.
void RelabelTable(IChannelTable& table, Lang lang);

ChannelTexts RowTexts(const IChannelTable& table, int row);
ChannelRecord RecordAt(const RadioImage& image, int channel);
