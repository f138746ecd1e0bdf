#include "editor/CellDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <map>
#include <memory>
#include <set>
#include <tuple>
#include <utility>

#include "editor/GridKeyPress.h"
#include "tones/ToneTable.h"
#include "res/ResourceIds.h"
#include "res/Texts.h"

namespace {

constexpr int kToneRowsShown = 16;
constexpr const char* kLoaded = "loadedText";
constexpr const char* kChosen = "entryChosen";  // the user chose an entry of the list
constexpr const char* kRow = "cellRow";
constexpr const char* kColumn = "cellColumn";

// A double-click selects the editor's whole text, as the click that opened
// it does: the dots of a frequency or a tone would cut it into words.
class WholeTextOnDoubleClick : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonDblClick) return false;
        static_cast<QLineEdit*>(watched)->selectAll();
        return true;
    }
};

int ListId(int column) {
    switch (column) {
        case col::kWidth: return ids::IDC_LIST_WIDTH;
        case col::kScan: return ids::IDC_LIST_SCAN;
        case col::kPower: return ids::IDC_LIST_POWER;
        case col::kSignal: return ids::IDC_LIST_SIGNAL;
        case col::kPttId: return ids::IDC_LIST_PTTID;
        default: return ids::IDC_LIST_BUSY;
    }
}

std::vector<std::string> Entries(int column) {
    return IsToneColumn(column) ? ToneTable::Instance().Texts() : ListEntries(column);
}

QComboBox* MakeCombo(int column, QWidget* parent, const std::vector<std::string>& entries) {
    auto* combo = new QComboBox(parent);
    for (const std::string& entry : entries) combo->addItem(QString::fromStdString(entry));
    if (!IsToneColumn(column)) {
        combo->setObjectName(QString::number(ListId(column)));
        return combo;
    }
    combo->setObjectName(QString::number(ids::IDC_TONE));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setCompleter(nullptr);
    combo->setMaxVisibleItems(kToneRowsShown);
    // The open list is as wide as its longest text.
    combo->view()->setMinimumWidth(combo->view()->sizeHintForColumn(0) + 2 * combo->view()->frameWidth() + 24);
    return combo;
}

QWidget* MakeEditor(int column, QWidget* parent) {
    if (EditorForColumn(column) != CellEditorKind::Frequency) return MakeCombo(column, parent, Entries(column));
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::number(ids::IDC_EDIT_FREQ));
    edit->setFrame(true);  // shows where typing goes, even on an empty cell
    return edit;
}

// Undo, or Redo in either of its spellings (Ctrl+Y, Ctrl+Shift+Z).
bool IsUndoKey(const QKeyEvent* key) {
    return key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo) ||
           (key->modifiers() == Qt::ControlModifier && key->key() == Qt::Key_Y);
}

// The text an editor of the grid holds now.
QString EditorText(const QWidget* editor) {
    if (auto* edit = qobject_cast<const QLineEdit*>(editor)) return edit->text();
    if (auto* combo = qobject_cast<const QComboBox*>(editor)) return combo->currentText();
    return {};
}

}  // namespace

CCellDelegate::CCellDelegate(Commit commit, QObject* parent)
    : QStyledItemDelegate(parent), m_commit(std::move(commit)) {}

namespace {

// The entry that shows widest in `font`. Measuring a text lays it out, slow
// for the few hundred tone texts. Texts whose characters advance alike, one
// by one, are as wide but for kerning, which the tone texts' plain digits
// and capitals hardly have; so one text of each such pattern is measured.
std::string WidestEntry(const std::vector<std::string>& entries, const QFont& font) {
    const QFontMetrics metrics(font);
    const QFontMetricsF advances(font);
    std::map<char16_t, qreal> advance;
    std::set<std::vector<qreal>> patterns;
    std::string widest;
    int widestWidth = -1;
    for (const std::string& entry : entries) {
        const QString text = QString::fromStdString(entry);
        std::vector<qreal> pattern;
        for (QChar c : text) {
            const auto [known, isNew] = advance.try_emplace(c.unicode(), 0.0);
            if (isNew) known->second = advances.horizontalAdvance(c);
            pattern.push_back(known->second);
        }
        if (!patterns.insert(std::move(pattern)).second) continue;
        const int width = metrics.horizontalAdvance(text);
        if (width > widestWidth) {
            widest = entry;
            widestWidth = width;
        }
    }
    return widest;
}

// The size an editor of `column` asks for where the grid opens it. Measuring
// every entry of a tone list takes a while, so each size is kept for the
// font and the language it was measured in.
QSize EditorSize(int column, QWidget* viewport) {
    static std::map<std::tuple<int, QString, Lang>, QSize> sizes;
    // Both tone columns get the same editor, and so do both frequency columns.
    const int kind = IsToneColumn(column)                                   ? col::kRxTone
                     : EditorForColumn(column) == CellEditorKind::Frequency ? col::kRxFreq
                                                                            : column;
    const auto key = std::make_tuple(kind, viewport->font().key(), CurrentLanguage());
    if (const auto known = sizes.find(key); known != sizes.end()) return known->second;
    // A list asks for the width of its widest entry: an editor holding only
    // that entry asks for the same size, and is much quicker to make.
    std::unique_ptr<QWidget> editor;
    if (EditorForColumn(column) == CellEditorKind::Frequency) {
        editor.reset(MakeEditor(column, viewport));
    } else {
        editor.reset(MakeCombo(column, viewport, {WidestEntry(Entries(column), viewport->font())}));
    }
    editor->hide();
    editor->setFont(viewport->font());
    return sizes[key] = editor->sizeHint();
}

}  // namespace

int CCellDelegate::EditorWidth(int column, QWidget* viewport) { return EditorSize(column, viewport).width(); }

int CCellDelegate::EditorHeight(QWidget* viewport) {
    int height = 0;
    for (int column : {col::kRxFreq, col::kRxTone, col::kWidth})
        height = std::max(height, EditorSize(column, viewport).height());
    return height;
}

void CCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!view || view->currentIndex() != index) return;
    painter->save();
    // The frame the page draws round its current cell, two pixels inside it.
    painter->setPen(QPen(QColor(0x1f, 0x4e, 0x79), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option.rect).adjusted(1, 1, -1, -1));
    painter->restore();
}

QWidget* CCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    QWidget* editor = MakeEditor(index.column() + 1, parent);
    editor->setFont(option.font);
    editor->setProperty(kRow, index.row() + 1);
    editor->setProperty(kColumn, index.column() + 1);
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (combo) connect(combo, &QComboBox::activated, combo, [combo] { combo->setProperty(kChosen, true); });
    if (QLineEdit* line = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(editor))
        line->installEventFilter(new WholeTextOnDoubleClick(line));
    return editor;
}

void CCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString cell = index.data(Qt::EditRole).toString();
    const EditorStart start = StartEditor(index.column() + 1, std::exchange(m_opening, EditorOpening::Click),
                                          std::exchange(m_typed, QString()).toStdString(), cell.toStdString());
    m_entry = CellEntry::Leave;
    m_selectAll = start.selectAll;
    const QString text = QString::fromStdString(start.text);
    if (!start.notice.empty()) emit const_cast<CCellDelegate*>(this)->notice(QString::fromStdString(start.notice));
    QLineEdit* line = qobject_cast<QLineEdit*>(editor);
    auto* combo = qobject_cast<QComboBox*>(editor);
    if (combo) {
        combo->setCurrentIndex(EntryStartingWith(Entries(index.column() + 1), cell.toStdString()));
        // The tone editor shows the cell's own text, also a code outside the table.
        if (combo->isEditable() && !cell.isEmpty()) combo->setEditText(cell);
        combo->setProperty(kLoaded, combo->currentText());
        combo->setProperty(kChosen, false);
        if (!combo->isEditable()) return;
        line = combo->lineEdit();
    } else {
        line->setProperty(kLoaded, cell);
    }
    if (!combo || text != cell) line->setText(text);
    if (start.selectAll)
        line->selectAll();
    else
        line->end(false);
}

void CCellDelegate::PlaceCaret(QWidget* editor) const {
    auto* combo = qobject_cast<QComboBox*>(editor);
    QLineEdit* line = combo ? combo->lineEdit() : qobject_cast<QLineEdit*>(editor);
    if (!line) return;
    if (m_selectAll)
        line->selectAll();
    else
        line->end(false);
}

void CCellDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
    const CellEntry entry = m_entry;
    m_entry = CellEntry::Leave;
    const QString text = EditorText(editor);
    // An editor still holding what it was loaded with changes nothing, so
    // a look at a cell never rewrites it; an entry the user chose is written,
    // also the one the list opened at (无 for a cell showing no signalling).
    if (text == editor->property(kLoaded).toString() && !editor->property(kChosen).toBool()) return;
    m_commit(index.row() + 1, index.column() + 1, text.toStdString(), entry);
}

void CCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

bool CCellDelegate::eventFilter(QObject* watched, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(watched);
    if (!editor) return QStyledItemDelegate::eventFilter(watched, event);
    // The wheel scrolls the grid and never changes what an editor holds.
    if (event->type() == QEvent::Wheel) {
        if (QWidget* viewport = editor->parentWidget()) QApplication::sendEvent(viewport, event);
        return true;
    }
    // A menu opening (the menu bar's, the grid's own) leaves the editor open
    // with its text: a command chosen there writes it first, and Escape
    // gives the keys back to it as it was.
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::PopupFocusReason || reason == Qt::MenuBarFocusReason) return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const int column = editor->property(kColumn).toInt();
        const bool typed = EditorText(editor) != editor->property(kLoaded).toString();
        // Not the editor's: the Undo, Redo and Paste commands take the key.
        if (IsUndoKey(key) && !UndoKeysAreTheEditors(column, typed)) return true;
        if (key->matches(QKeySequence::Paste) &&
            !PasteKeysAreTheEditors(column, typed, QApplication::clipboard()->text().toStdString()))
            return true;
    }
    if (event->type() != QEvent::KeyPress) return QStyledItemDelegate::eventFilter(watched, event);
    auto* combo = qobject_cast<QComboBox*>(editor);
    const GridKeyPress press = GridKeyPressOf(static_cast<QKeyEvent*>(event));
    const int row = editor->property(kRow).toInt();
    const int column = editor->property(kColumn).toInt();
    const GridStep step = KeyInEditor(row, column, press, combo && combo->view()->isVisible());
    if (step.action == GridAction::None) return QStyledItemDelegate::eventFilter(watched, event);
    if (step.action == GridAction::Ignore) return true;
    if (step.action == GridAction::CancelEdit) {
        emit closeEditor(editor, RevertModelCache);
        return true;
    }
    m_entry = press.key == "Enter" ? CellEntry::Enter : CellEntry::Leave;
    emit commitData(editor);
    emit closeEditor(editor, NoHint);
    emit editorLeft(step);
    return true;
}
