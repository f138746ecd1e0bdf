#include "editor/EditSession.h"

#include <algorithm>
#include <limits>

#include "res/Texts.h"

namespace {

constexpr std::size_t kNoState = std::numeric_limits<std::size_t>::max();

int SelectionCount(FormBox box) {
    switch (box) {
        case FormBox::Band: return static_cast<int>(BandTexts().size());
        case FormBox::Model: return static_cast<int>(ModelTexts().size());
        case FormBox::Manual: return static_cast<int>(ManualTexts().size());
        case FormBox::PowerLevel: return static_cast<int>(PowerLevelTexts().size());
    }
    return 0;
}

EditResult Refused(std::string reason) {
    EditResult result;
    result.refused = true;
    result.refusal = std::move(reason);
    return result;
}

}  // namespace

bool EditSession::State::operator==(const State& other) const {
    for (FormBox box : kFormBoxes)
        if (table.Selection(box) != other.table.Selection(box)) return false;
    for (int row = 1; row <= kChannelCount; ++row)
        if (RowTexts(table, row) != RowTexts(other.table, row)) return false;
    return SaveImage(*this) == SaveImage(other);
}

EditSession::EditSession() { Load(NewDocumentImage()); }

EditSession::State EditSession::Decoded(const RadioImage& image) {
    State state;
    state.image = image;
    UpdateGridFromImage(image, state.table);
    return state;
}

BandLimits EditSession::Band() const {
    const auto& table = BandLimitTable();
    return table[static_cast<std::size_t>(std::clamp(Selection(FormBox::Band), 0, static_cast<int>(table.size()) - 1))];
}

RadioImage EditSession::SaveImage(const State& state) {
    RadioImage image = state.image;
    UpdateImageFromGrid(state.table, image);
    return image;
}

void EditSession::Load(const RadioImage& image) {
    m_history.assign(1, Decoded(image));
    m_index = 0;
    m_savedIndex = 0;
}

EditResult EditSession::ReplaceImage(const RadioImage& image, bool always) { return Commit(Decoded(image), always); }

EditResult EditSession::ApplySettings(const RadioImage& edited) {
    State next = Now();
    std::copy(edited.begin() + static_cast<std::ptrdiff_t>(addr::kSettings), edited.end(),
              next.image.begin() + static_cast<std::ptrdiff_t>(addr::kSettings));
    const FormSelections s = DecodeFormSelections(next.image);
    next.table.SetSelection(FormBox::Band, s.band);
    next.table.SetSelection(FormBox::Model, s.model);
    next.table.SetSelection(FormBox::Manual, s.manual);
    next.table.SetSelection(FormBox::PowerLevel, s.powerLevel);
    return Commit(std::move(next));
}

EditResult EditSession::SetCell(int row, int column, const std::string& text, CellEntry entry) {
    if (row < 1 || row > kChannelCount || column < col::kRxFreq || column > col::kBusy)
        return Refused(Tr(TextId::CellOutsideTable));
    State next = Now();
    IChannelTable& table = next.table;
    if (column == col::kRxFreq || column == col::kTxFreq) {
        const FrequencyCheck check = CheckFrequencyText(text, Band());
        if (!check.accepted) {
            EditResult result;
            result.refused = true;
            result.messages = check.messages;
            return result;
        }
        ApplyFrequencyEdit(table, row, column, check.text, entry == CellEntry::Enter);
        EditResult result = Commit(std::move(next));
        result.messages = check.messages;
        return result;
    }
    if (entry == CellEntry::Exact) {
        // A tone must be one the tone editor offers, as typing takes it.
        if (IsToneColumn(column) && !text.empty())
            if (auto refusal = CellTextRefusal(column, text, ToneTexts::Table)) return Refused(*refusal);
        if (auto refusal = PasteCell(table, row, column, text, Band())) return Refused(*refusal);
        return Commit(std::move(next));
    }
    // The editor still holds what the cell shows (any case): nothing to write,
    // even for a code outside the tone table.
    if (EqualNoCase(text, Text(row, column))) return {};
    if (IsToneColumn(column)) {
        // A code the tone list does not hold is refused, as a wrong frequency
        // is: the cell keeps its tone, and the typed text is offered again.
        if (RowHasFrequency(table, row) && !text.empty())
            if (auto refusal = CellTextRefusal(column, text, ToneTexts::Table)) return Refused(*refusal);
        table.SetCellText(row, column, ToneCommitText(table, row, text));
    } else {
        if (auto refusal = CellTextRefusal(column, text)) return Refused(*refusal);
        // Enter leaves the cell of a row without frequencies as it is; leaving it empties it.
        if (entry == CellEntry::Enter && !RowHasFrequency(table, row)) return {};
        table.SetCellText(row, column, ListCommitText(table, row, StoredCellText(column, text)));
    }
    return Commit(std::move(next));
}

EditResult EditSession::SetSelection(FormBox box, int index) {
    if (index < 0 || index >= SelectionCount(box)) return Refused(Tr(TextId::NoSuchEntry));
    State next = Now();
    next.table.SetSelection(box, index);
    return Commit(std::move(next));
}

EditResult EditSession::ChangeTexts(const std::function<void(IChannelTable&)>& change) {
    State next = Now();
    change(next.table);
    return Commit(std::move(next));
}

EditResult EditSession::Paste(const CellRange& at, const std::string& text, PasteResult* pasted) {
    if (text.empty()) {
        if (pasted) *pasted = PasteResult{{}, {}, at};
        return {};
    }
    const std::string tsv = FillSelectionTsv(text, at.bottom - at.top + 1, at.right - at.left + 1);
    const BandLimits band = Band();
    return ChangeTexts([&](IChannelTable& table) {
        PasteResult result = PasteCellsTsv(table, at.top, at.left, tsv, band);
        if (pasted) *pasted = std::move(result);
    });
}

EditResult EditSession::ClearCellRange(const CellRange& range) {
    return ChangeTexts([&](IChannelTable& table) { ClearCells(table, range); });
}

EditResult EditSession::SetField(int column, ChannelSpan span, const std::string& text) {
    if (auto refusal = CellTextRefusal(column, text)) return Refused(*refusal);
    // Only channels in use take a field; with none among them, say so.
    bool anyInUse = false;
    for (int row = std::max(span.first, 1); row <= std::min(span.last, kChannelCount); ++row)
        anyInUse = anyInUse || RowHasFrequency(Now().table, row);
    if (!anyInUse) return Refused(Tr(TextId::SetFieldNoneInUse));
    return ChangeTexts([&](IChannelTable& table) { SetFieldOfChannels(table, column, span.first, span.last, text); });
}

EditResult EditSession::ChangeRecords(const std::function<bool(RadioImage&)>& change) {
    RadioImage image = ImageForSave();
    if (!change(image)) {
        EditResult result;
        result.refused = true;
        return result;
    }
    return Commit(Decoded(image));
}

EditResult EditSession::ClearChannels(ChannelSpan span) {
    return ChangeRecords([span](RadioImage& image) {
        ::ClearChannels(image, span);
        return true;
    });
}

EditResult EditSession::InsertChannels(ChannelSpan span) {
    EditResult result = ChangeRecords([span](RadioImage& image) { return InsertEmptyChannels(image, span); });
    if (result.refused)
        result.refusal = span.Count() == 1 ? Tr(TextId::CannotInsertChannel)
                                           : TrFormat(TextId::CannotInsertChannels, {std::to_string(span.Count())});
    return result;
}

EditResult EditSession::DeleteChannels(ChannelSpan span) {
    return ChangeRecords([span](RadioImage& image) {
        ::DeleteChannels(image, span);
        return true;
    });
}

EditResult EditSession::MoveChannels(ChannelSpan span, int delta) {
    EditResult result = ChangeRecords([span, delta](RadioImage& image) { return ::MoveChannels(image, span, delta); });
    // The selection moves with the channels.
    if (!result.refused) result.selected = ChannelSpan{span.first + delta, span.last + delta};
    return result;
}

void EditSession::Relabel(Lang lang) {
    for (State& state : m_history) RelabelTable(state.table, lang);
}

EditResult EditSession::Undo() { return CanUndo() ? Show(m_index - 1) : EditResult{}; }

EditResult EditSession::Redo() { return CanRedo() ? Show(m_index + 1) : EditResult{}; }

EditResult EditSession::Show(std::size_t index) {
    const std::size_t from = m_index;
    m_index = index;
    EditResult result = Difference(m_history[from], Now());
    result.changed = true;
    return result;
}

EditResult EditSession::Difference(const State& from, const State& to) {
    EditResult result;
    for (int row = 1; row <= kChannelCount; ++row) {
        if (RowTexts(from.table, row) == RowTexts(to.table, row)) continue;
        if (result.firstRow == 0) result.firstRow = row;
        result.lastRow = row;
    }
    for (FormBox box : kFormBoxes)
        if (from.table.Selection(box) != to.table.Selection(box)) result.selectionsChanged = true;
    return result;
}

EditResult EditSession::Commit(State next, bool always) {
    if (next == Now() && !always) return {};
    m_history.resize(m_index + 1);  // the steps undone so far are gone
    if (m_savedIndex != kNoState && m_savedIndex > m_index) m_savedIndex = kNoState;
    m_history.push_back(std::move(next));
    ++m_index;
    if (m_history.size() > kUndoLimit + 1) {
        m_history.erase(m_history.begin());
        --m_index;
        m_savedIndex = (m_savedIndex == 0 || m_savedIndex == kNoState) ? kNoState : m_savedIndex - 1;
    }
    EditResult result = Difference(m_history[m_index - 1], Now());
    result.changed = true;
    return result;
}
