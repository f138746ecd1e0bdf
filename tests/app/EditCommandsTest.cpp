// The edit menu over the channel grid with real keys: undo and redo, the
// clipboard, whole channels and the set-field dialog.
#include <QKeyEvent>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QStatusBar>
#include <QTimer>

#include "link/ProgressDlg.h"
#include "res/ResourceIds.h"
#include "support/CellEditingFixture.h"
#include "support/RandomImage.h"

using namespace ids;

namespace {

class Editing : public CellEditing {
protected:
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Grid()->setFocus();
        QTest::keyClick(Grid(), key, modifiers);
    }
    RadioImage Image() const { return View()->ImageForSave(); }
    void Select(int top, int left, int bottom, int right) { Grid()->SelectCells({top, left, bottom, right}); }
    static QClipboard* Clipboard() { return QApplication::clipboard(); }
    // No refusal was shown: at most the note on frequencies outside the band.
    bool OnlyNotes() const {
        return std::all_of(messages.begin(), messages.end(),
                           [](const MessageRequest& m) { return m.icon == MessageIcon::Information; });
    }
};

// A valid image whose first 20 channels are in use.
RadioImage TwentyChannels() {
    RadioImage image = RandomValidImage(11);
    PlainChannelTable t;
    UpdateGridFromImage(image, t);
    for (int n = 1; n <= 20; ++n)
        if (t.CellText(n, 1).empty()) t.SetCellText(n, 1, "145.00000");
    for (int n = 1; n <= 20; ++n)
        for (int c = 3; c <= 10; ++c)
            if (t.CellText(n, c).empty()) t.SetCellText(n, c, NewChannelDefault(c));
    for (int n = 21; n <= 128; ++n)
        for (int c = 1; c <= 10; ++c) t.SetCellText(n, c, "");
    UpdateImageFromGrid(t, image);
    return image;
}

}  // namespace

TEST_F(Editing, EditMenuFollowsTheFileMenu) {
    const QList<QAction*> menus = Frame()->menuBar()->actions();
    ASSERT_GE(menus.size(), 2);
    EXPECT_EQ(menus[1]->text(), "编辑(&B)");
    QList<int> items;
    for (QAction* a : menus[1]->menu()->actions()) items << (a->isSeparator() ? 0 : a->objectName().toInt());
    EXPECT_EQ(items,
              QList<int>({ID_EDIT_UNDO, ID_EDIT_REDO, 0, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, 0,
                          ID_CHANNEL_INSERT, ID_CHANNEL_DELETE, ID_CHANNEL_UP, ID_CHANNEL_DOWN, 0, ID_SET_FIELD}));
    EXPECT_EQ(Frame()->Action(ID_EDIT_UNDO)->text(), "撤销(&U)\tCtrl+Z");
    EXPECT_EQ(Frame()->Action(ID_EDIT_REDO)->text(), "重做(&R)\tCtrl+Y");
    // Every entry has a mnemonic, none taken twice.
    QSet<QChar> mnemonics;
    for (QAction* a : menus[1]->menu()->actions()) {
        if (a->isSeparator()) continue;
        const int amp = a->text().indexOf('&');
        ASSERT_GE(amp, 0) << a->text().toStdString();
        EXPECT_FALSE(mnemonics.contains(a->text()[amp + 1].toUpper())) << a->text().toStdString();
        mnemonics.insert(a->text()[amp + 1].toUpper());
    }
    EXPECT_FALSE(Frame()->Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_FALSE(Frame()->Action(ID_EDIT_REDO)->isEnabled());

    // The grid's context menu holds the same commands.
    QMenu* menu = Frame()->GridMenu();
    bool shown = false;
    QTimer::singleShot(0, [&] {
        shown = QApplication::activePopupWidget() == menu;
        menu->close();
    });
    const QRect cell = Grid()->CellRect(3, 3);
    QContextMenuEvent event(QContextMenuEvent::Mouse, cell.center(), Grid()->viewport()->mapToGlobal(cell.center()));
    QApplication::sendEvent(Grid()->viewport(), &event);
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown; }));
    QList<int> gridItems;
    for (QAction* a : menu->actions()) gridItems << (a->isSeparator() ? 0 : a->objectName().toInt());
    EXPECT_EQ(gridItems, items);
}

// Without a Menu key the keyboard still reaches every menu: Shift+F10 opens
// the grid's menu at the current cell, F10 the window's first menu, and a
// box above the grid takes neither as a choice.
TEST_F(Editing, ShiftF10AndF10OpenTheMenusFromTheKeyboard) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    Grid()->SetCurrentCell(3, 2);
    Grid()->setFocus();
    // Through the window, as the window system delivers a key.
    QTest::keyClick(Frame()->windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
    QMenu* menu = Frame()->GridMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() == menu; }));
    const QRect cell = Grid()->CellRect(3, 2);
    EXPECT_TRUE(QRect(Grid()->viewport()->mapToGlobal(cell.topLeft()), cell.size()).contains(menu->pos()))
        << menu->pos().x() << "," << menu->pos().y();
    QTest::keyClick(menu, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !QApplication::activePopupWidget(); }));

    View()->m_cbBand->setFocus();
    const int band = View()->m_cbBand->currentIndex();
    QTest::keyClick(Frame()->windowHandle(), Qt::Key_F10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activePopupWidget() != nullptr; }));
    auto* file = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file, Frame()->menuBar()->actions().first()->menu());
    QTest::keyClick(file, Qt::Key_Down);
    EXPECT_EQ(View()->m_cbBand->currentIndex(), band);
    QTest::keyClick(file, Qt::Key_Escape);
}

TEST_F(Editing, UndoAndRedoOfTypingRestoreTheImageAndTheModifiedMark) {
    const RadioImage start = Image();
    EnterFrequency(3, 1, "145.125");
    const RadioImage typed = Image();
    ASSERT_NE(typed, start);
    View()->m_cbPower->setFocus();
    QTest::keyClick(View()->m_cbPower, Qt::Key_Up);
    ASSERT_EQ(View()->m_cbPower->currentText(), "8");
    const RadioImage chosen = Image();
    EXPECT_TRUE(Doc()->IsModified());

    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Image(), typed);
    EXPECT_EQ(View()->m_cbPower->currentText(), "9");
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Image(), start);
    EXPECT_EQ(Cell(3, 1), "");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_FALSE(Frame()->Action(ID_EDIT_UNDO)->isEnabled());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Image(), typed);
    EXPECT_EQ(Cell(3, 1), "145.12500");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Image(), chosen);
    EXPECT_TRUE(Doc()->IsModified());

    // Saved, the document is clean; an undo away from it is modified again.
    fileAnswers = {Path("saved.sin")};
    Trigger(ID_FILE_SAVE);
    EXPECT_FALSE(Doc()->IsModified());
    Trigger(ID_EDIT_UNDO);
    EXPECT_TRUE(Doc()->IsModified());
    Trigger(ID_EDIT_REDO);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Load(Path("saved.sin")), Image());
    // Opening a file starts a new history.
    Trigger(ID_FILE_NEW);
    EXPECT_FALSE(View()->Session().CanUndo());
}

TEST_F(Editing, CopiedChannelsAreTsvAndPastedIntoEmptyRowsTheyComeBack) {
    OpenImage(TwentyChannels());
    Select(1, 1, 20, 10);
    Key(Qt::Key_Insert, Qt::ControlModifier);
    const QString tsv = Clipboard()->text();
    QStringList lines = tsv.split('\n');
    ASSERT_EQ(lines.takeLast(), "");
    ASSERT_EQ(lines.size(), 20);
    for (int r = 1; r <= 20; ++r) EXPECT_EQ(lines[r - 1], Row(r).join('\t'));

    const RadioImage before = Image();
    Grid()->SetCurrentCell(101, 1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(OnlyNotes());
    for (int r = 1; r <= 20; ++r) ASSERT_EQ(Row(r + 100), Row(r)) << r;
    EXPECT_TRUE(Doc()->IsModified());
    // The pasted block is selected.
    const CellRange pasted = Grid()->SelectedCells();
    EXPECT_EQ((std::array{pasted.top, pasted.left, pasted.bottom, pasted.right}), (std::array{101, 1, 120, 10}));
    Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);
    EXPECT_FALSE(Doc()->IsModified());

    // Shift+Insert pastes too; a spreadsheet's text with CR LF line ends.
    Clipboard()->setText(QStringLiteral("146.5\t\t88.5\r\n147\r\n"));
    Grid()->SetCurrentCell(127, 1);
    Key(Qt::Key_Insert, Qt::ShiftModifier);
    // The empty second cell empties the transmit frequency and its tone.
    EXPECT_EQ(Row(127), QStringList({"146.50000", "", "88.5", "", "宽", "是", "高", "DTMF", "开", "关闭"}));
    EXPECT_EQ(Cell(128, 1), "147.00000");

    // One cell over a selection fills it.
    Clipboard()->setText(QStringLiteral("低"));
    Select(1, 7, 20, 7);
    Trigger(ID_EDIT_PASTE);
    for (int r = 1; r <= 20; ++r) ASSERT_EQ(Cell(r, 7), "低") << r;
    EXPECT_TRUE(OnlyNotes());
}

TEST_F(Editing, RefusedPastedCellsAreListedOnceAndTheRestIsPasted) {
    Band(1);
    Clipboard()->setText(QStringLiteral("145.125\t\tXYZ\n145.1234\n\t\t\t\t中\n200\t435.5\n"));
    Grid()->SetCurrentCell(1, 1);
    Trigger(ID_EDIT_PASTE);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text,
              "以下 3 个单元格没有粘贴：\n"
              "第 1 频道接收信令：“XYZ”不是信令代码\n"
              "第 2 频道接收频率：输入数据错误，请按6.25K或 5k的倍数重新输入\n"
              "第 3 频道宽/窄：该频道没有频率\n");
    EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
    // Frequencies outside the band are pasted, with the note typing them gives.
    EXPECT_EQ(Cell(4, 1), "200.00000");
    EXPECT_EQ(messages[1].text, "超出频率范围!\n第 4 频道接收频率：200.00000\n第 4 频道发射频率：435.50000\n");
    EXPECT_EQ(messages[1].caption, "温馨提示");
    EXPECT_EQ(messages[1].icon, MessageIcon::Information);
    EXPECT_EQ(Cell(1, 1), "145.12500");
    EXPECT_EQ(Cell(1, 3), "OFF");
    EXPECT_EQ(Cell(2, 1), "");
    // One step: one undo takes the whole paste back, the next the band chosen before it.
    Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Cell(1, 1), "");
    EXPECT_TRUE(Doc()->IsModified());
    Trigger(ID_EDIT_UNDO);
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(Editing, CutAndDeleteClearAndUndoBringsThemBack) {
    OpenImage(TwentyChannels());
    const RadioImage before = Image();
    const QStringList row5 = Row(5);
    const QStringList row6 = Row(6);
    Select(5, 3, 6, 4);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Clipboard()->text(), row5.mid(2, 2).join('\t') + "\n" + row6.mid(2, 2).join('\t') + "\n");
    EXPECT_EQ(Cell(5, 3), "OFF");
    EXPECT_EQ(Cell(5, 1), row5[0]);
    Select(7, 1, 8, 2);
    Key(Qt::Key_Delete, Qt::ShiftModifier);  // cut as well
    EXPECT_EQ(Row(7), QStringList(10, QString()));
    const QStringList row9 = Row(9);
    Select(9, 2, 10, 2);
    Key(Qt::Key_Delete);  // the cells, as typing an empty text empties them
    EXPECT_EQ(Cell(9, 2), "");
    EXPECT_EQ(Cell(9, 1), row9[0]);
    // Both frequencies cleared: the channel is empty.
    Select(13, 1, 13, 2);
    Key(Qt::Key_Delete);
    EXPECT_EQ(Row(13), QStringList(10, QString()));
    // 清除频道 clears whole channels, from any cell of them.
    Select(11, 4, 12, 4);
    Key(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Row(11), QStringList(10, QString()));
    EXPECT_EQ(Row(12), QStringList(10, QString()));
    for (int i = 0; i < 5; ++i) Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);
    EXPECT_EQ(Row(5), row5);
}

TEST_F(Editing, CtrlCCopiesFromTheGridAndTheOtherPortKeysStillChoose) {
    OpenImage(TwentyChannels());
    // Ctrl+D away from the grid chooses COM2 and says so.
    View()->m_cbBand->setFocus();
    QTest::keyClick(View()->m_cbBand, Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(View()->Port(), "COM2");
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "端口：COM2 (/dev/ttyUSB1)");
    const QStringList row2 = Row(2);
    Select(2, 1, 2, 10);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(View()->Port(), "COM2");
    EXPECT_EQ(Clipboard()->text(), row2.join('\t') + "\n");
    Select(25, 1, 25, 1);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Row(25), row2);
    // Away from the grid Ctrl+C is COM1's key.
    View()->m_cbBand->setFocus();
    QTest::keyClick(View()->m_cbBand, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(View()->Port(), "COM1");
}

TEST_F(Editing, ChannelsInsertedDeletedAndMovedAsWholeRecords) {
    RadioImage image = TwentyChannels();
    image[ChannelOffset(3) + 15] = 0x5A;  // a byte of channel 3 the grid does not show
    OpenImage(image);
    const RadioImage before = Image();
    QList<QStringList> rows;
    for (int r = 1; r <= 128; ++r) rows << Row(r);
    const QStringList row3 = Row(3);
    const QStringList row4 = Row(4);

    Select(3, 2, 4, 2);
    Trigger(ID_CHANNEL_INSERT);
    EXPECT_EQ(Row(3), QStringList(10, QString()));
    EXPECT_EQ(Row(5), row3);
    EXPECT_EQ(Row(22), rows[19]);
    EXPECT_EQ(Image()[ChannelOffset(5) + 15], 0x5A);
    Trigger(ID_CHANNEL_DELETE);
    for (int r = 1; r <= 128; ++r) ASSERT_EQ(Row(r), rows[r - 1]) << r;
    EXPECT_EQ(Image()[ChannelOffset(3) + 15], 0x5A);

    Select(3, 1, 4, 10);
    Key(Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Row(4), row3);
    EXPECT_EQ(Row(5), row4);
    EXPECT_EQ(Image()[ChannelOffset(4) + 15], 0x5A);
    const CellRange moved = Grid()->SelectedCells();
    EXPECT_EQ((std::pair{moved.top, moved.bottom}), (std::pair{4, 5}));
    EXPECT_EQ(Grid()->currentIndex().row() + 1, 4);  // typing goes to the block's first channel
    Key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Row(2), row3);
    for (int i = 0; i < 5; ++i) Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);
    EXPECT_FALSE(Doc()->IsModified());
    Trigger(ID_EDIT_REDO);
    EXPECT_EQ(Row(5), row3);

    // Channel 128 in use: no room for an empty channel.
    Grid()->SetCurrentCell(128, 1);
    Clipboard()->setText(QStringLiteral("150"));
    Trigger(ID_EDIT_PASTE);
    messages.clear();  // the note on a frequency outside the band, if any
    const RadioImage full = Image();
    Select(1, 1, 1, 1);
    Trigger(ID_CHANNEL_INSERT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "频道表的最后一个频道中有数据，不能插入空频道。");
    EXPECT_EQ(Image(), full);
    // No step was recorded: undo takes back the paste before it.
    Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Cell(128, 1), "");
}

TEST_F(Editing, SetFieldGivesTheSelectedChannelsInUseOneValue) {
    OpenImage(TwentyChannels());
    Trigger(ID_EDIT_CLEAR);  // channel 1 is now empty
    const RadioImage before = Image();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->windowTitle(), "批量设置");
        auto* column = dialog->findChild<QComboBox*>(QString::number(IDC_FIELD_COLUMN));
        auto* value = dialog->findChild<QComboBox*>(QString::number(IDC_FIELD_VALUE));
        ASSERT_TRUE(column && value);
        EXPECT_EQ(column->count(), 8);
        EXPECT_EQ(value->count(), 261);  // the tones of the first column
        column->setCurrentIndex(column->findText("发射功率"));
        EXPECT_EQ(value->count(), 2);
        value->setCurrentIndex(value->findText("低"));
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Select(1, 5, 4, 5);
    Trigger(ID_SET_FIELD);
    EXPECT_EQ(Cell(1, 7), "");
    for (int r = 2; r <= 4; ++r) EXPECT_EQ(Cell(r, 7), "低") << r;
    EXPECT_NE(Cell(5, 7), QString());
    Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Image(), before);

    // On channels none of which is in use, the window says that nothing changed.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    messages.clear();
    Select(1, 5, 1, 5);
    Trigger(ID_SET_FIELD);
    EXPECT_EQ(Image(), before);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "所选的频道都没有使用，没有修改任何频道。");
}

// Enter writes a cell and opens the next one's editor: Ctrl+Z there, with
// nothing typed into it yet, undoes the cell just written, and Ctrl+Y does it
// again; once something is typed, Ctrl+Z is the editor's, for that typing.
TEST_F(Editing, UndoKeysInAnEditorWithNothingTypedUndoTheDocument) {
    // Before a shortcut runs, the window system asks the focused widget
    // whether the key is its own, as it does for every key with Ctrl.
    const auto editorClaims = [](Qt::Key key, Qt::KeyboardModifiers modifiers) {
        QKeyEvent ask(QEvent::ShortcutOverride, key, modifiers);
        ask.setAccepted(false);
        QApplication::sendEvent(Focus(), &ask);
        return ask.isAccepted();
    };
    const RadioImage start = Image();
    Click(3, 1);
    Type(QStringLiteral("163"));
    Enter();
    ASSERT_TRUE(FrequencyEditor());
    ASSERT_EQ(Cell(3, 1), "163.00000");
    const RadioImage typed = Image();
    EXPECT_FALSE(editorClaims(Qt::Key_Z, Qt::ControlModifier));
    EXPECT_FALSE(editorClaims(Qt::Key_Y, Qt::ControlModifier));
    EXPECT_FALSE(editorClaims(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Image(), start);
    EXPECT_EQ(Cell(3, 1), "");
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Image(), typed);
    EXPECT_EQ(Cell(3, 1), "163.00000");

    Click(5, 1);
    Type(QStringLiteral("14"));
    EXPECT_TRUE(editorClaims(Qt::Key_Z, Qt::ControlModifier));
    Key(Qt::Key_Escape);
}

// A click opens the cell's editor: Ctrl+V there with several cells on the
// clipboard pastes them into the grid from that cell, as without the
// editor; a single value, or one pasted into typing, goes into the editor.
TEST_F(Editing, PastingSeveralCellsIntoAnEditorNothingWasTypedIntoPastesTheGrid) {
    const auto editorClaims = [] {
        QKeyEvent ask(QEvent::ShortcutOverride, Qt::Key_V, Qt::ControlModifier);
        ask.setAccepted(false);
        QApplication::sendEvent(Focus(), &ask);
        return ask.isAccepted();
    };
    Click(3, 1);
    ASSERT_TRUE(FrequencyEditor());
    QApplication::clipboard()->setText(QStringLiteral("146.52000\t146.52000\n147.00000\t147.60000\n"));
    EXPECT_FALSE(editorClaims());
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Cell(3, 1), "146.52000");
    EXPECT_EQ(Cell(3, 2), "146.52000");
    EXPECT_EQ(Cell(4, 1), "147.00000");
    EXPECT_EQ(Cell(4, 2), "147.60000");

    Click(6, 1);
    QApplication::clipboard()->setText(QStringLiteral("145.5"));
    EXPECT_TRUE(editorClaims());
    Type(QStringLiteral("14"));
    QApplication::clipboard()->setText(QStringLiteral("146.52000\t146.52000"));
    EXPECT_TRUE(editorClaims());
    Key(Qt::Key_Escape);
}

TEST_F(Editing, EditKeysDoNothingBehindAModalDialog) {
    OpenImage(TwentyChannels());
    const QStringList row1 = Row(1);
    Select(1, 1, 1, 10);
    QTimer::singleShot(0, [] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        // The keys go where a person's keys go: into the dialog.
        QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(focus, Qt::Key_Delete);
        QTest::keyClick(focus, Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        dialog->close();
    });
    Trigger(ID_OPTIONS);
    EXPECT_EQ(Row(1), row1);
    EXPECT_FALSE(Doc()->IsModified());

    // Nor in the progress window, which is not modal.
    Trigger(ID_READ);
    QWidget* progress = View()->Progress();
    ASSERT_TRUE(progress->isVisible());
    progress->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(progress));
    QTest::keyClick(progress, Qt::Key_Delete);
    EXPECT_EQ(Row(1), row1);
    progress->close();
    // Back in the main window the same key clears the cells.
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    Key(Qt::Key_Delete);
    EXPECT_EQ(Row(1), QStringList(10, QString()));
}
