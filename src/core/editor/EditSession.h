#pragma once
// The working copy of one open document: the image, the channel table's cell
// texts and the four form selections, with the undo history and the modified
// state against the last save. Every change is one operation here: it checks
// what was typed or pasted, records one undo step and says which rows changed.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "editor/CellRules.h"
#include "editor/ChannelClipboard.h"
#include "image/ChannelRows.h"
#include "image/ChannelTable.h"

// How a typed cell text is taken.
enum class CellEntry {
    Leave,  // the editor was left for another cell
    Enter,  // Enter was pressed in the editor
    Exact,  // the text must be one the column accepts as it stands (command line)
};

struct EditResult {
    bool changed = false;                    // one undo step was recorded
    bool refused = false;                    // nothing changed because the text was refused
    std::vector<FrequencyMessage> messages;  // frequency messages, in order
    std::string refusal;                     // why a non-frequency text was refused
    int firstRow = 0;                        // the channels whose texts changed (0 when none)
    int lastRow = 0;
    bool selectionsChanged = false;
    std::optional<ChannelSpan> selected;  // where the selection follows the channels to (a move)
};

class EditSession {
public:
    static constexpr std::size_t kUndoLimit = 500;

    // A new document.
    EditSession();

    // Reading the working copy.
    const IChannelTable& Table() const { return Now().table; }
    std::string Text(int row, int column) const { return Now().table.CellText(row, column); }
    int Selection(FormBox box) const { return Now().table.Selection(box); }
    BandLimits Band() const;
    // The image a save or a write takes: in a channel in use every field
    // whose text is still the one its bits decode to keeps them, and only
    // the changed fields are encoded; new channels and the empty rows are
    // encoded whole from their texts; the four selections go into the settings.
    RadioImage ImageForSave() const { return SaveImage(Now()); }

    // New, Open and reload: the image replaces everything, with a fresh history.
    void Load(const RadioImage& image);
    // A read from the radio or a CSV import: one undoable step, recorded even
    // without a difference when `always`.
    EditResult ReplaceImage(const RadioImage& image, bool always = false);
    // The options dialog's result: its settings block, channels as they are.
    EditResult ApplySettings(const RadioImage& edited);

    // One cell typed into (rows 1-128, columns 1-10).
    EditResult SetCell(int row, int column, const std::string& text, CellEntry entry);
    EditResult SetSelection(FormBox box, int index);
    // The clipboard's text pasted over the selection `at`: one cell's text
    // fills all of it, tab-separated lines land at its top left corner, and
    // empty text pastes nothing. `pasted` gets the refused cells and the block.
    EditResult Paste(const CellRange& at, const std::string& text, PasteResult* pasted);
    std::string Copy(const CellRange& range) const { return CopyCellsTsv(Now().table, range); }
    // Empties the cells of `range` the way cutting does.
    EditResult ClearCellRange(const CellRange& range);
    EditResult ClearChannels(ChannelSpan span);
    // Refused (nothing changes, and `refusal` says why) when channels in use
    // would be pushed off the table.
    EditResult InsertChannels(ChannelSpan span);
    EditResult DeleteChannels(ChannelSpan span);
    // Refused at the ends of the table.
    EditResult MoveChannels(ChannelSpan span, int delta);
    // `text` into column `column` (3-10) of every channel in use in `span`.
    EditResult SetField(int column, ChannelSpan span, const std::string& text);

    bool CanUndo() const { return m_index > 0; }
    bool CanRedo() const { return m_index + 1 < m_history.size(); }
    EditResult Undo();
    EditResult Redo();

    // Shows the list texts (宽/窄 and the like) of the working copy and of
    // every undo step in `lang`, the language just chosen: no undo step, the
    // same modified state and the same bytes for a save.
    void Relabel(Lang lang);

    bool IsModified() const { return m_index != m_savedIndex; }
    // The working copy is what the file now holds.
    void MarkSaved() { m_savedIndex = m_index; }

private:
    struct State {
        RadioImage image{};       // the bytes the texts were decoded from
        PlainChannelTable table;  // the texts and the four selections
        // Equal when the user sees the same and a save writes the same.
        bool operator==(const State& other) const;
    };

    const State& Now() const { return m_history[m_index]; }
    static State Decoded(const RadioImage& image);
    static RadioImage SaveImage(const State& state);
    // Makes `next` the working copy as one undo step, unless it is no change.
    EditResult Commit(State next, bool always = false);
    // Moves to another recorded state (undo, redo).
    EditResult Show(std::size_t index);
    static EditResult Difference(const State& from, const State& to);
    // Whole records changed on the image a save would write, then decoded
    // again; `change` returns false when it refuses.
    EditResult ChangeRecords(const std::function<bool(RadioImage&)>& change);
    // The texts changed by `change` on a copy of the working texts.
    EditResult ChangeTexts(const std::function<void(IChannelTable&)>& change);

    std::vector<State> m_history;  // every state undo and redo reach; never empty
    std::size_t m_index = 0;       // the working copy's place in m_history
    std::size_t m_savedIndex = 0;  // the saved state's place; past the end when gone
};
