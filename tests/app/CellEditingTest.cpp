// In-place editing of the channel grid with real key and mouse events.
#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleTableInterface>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QWheelEvent>

#include "link/ProgressDlg.h"
#include "res/ResourceIds.h"
#include "support/CellEditingFixture.h"
#include "support/WithModal.h"

namespace {

const QStringList kNewChannel{"145.12500", "145.12500", "OFF", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"};

}  // namespace

TEST_F(CellEditing, NewChannelTypedWithEnterGetsEveryDefault) {
    Band(1);
    Click(1, 1);
    ASSERT_EQ(Focus(), FrequencyEditor());
    EXPECT_TRUE(FrequencyEditor()->hasFrame());
    Type("145.125");
    Enter();
    EXPECT_EQ(Row(1), kNewChannel);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Grid()->Col(), 2);
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->text(), "145.12500");
    EXPECT_EQ(FrequencyEditor()->selectedText(), "145.12500");
    EXPECT_EQ(Focus(), FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->geometry(), Grid()->CellRect(1, 2));
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(CellEditing, TypingADigitStartsANewFrequency) {
    Band(1);
    Grid()->setFocus();
    Grid()->SetCurrentCell(4, 1);
    QTest::keyClicks(Grid(), "1");
    ASSERT_EQ(Focus(), FrequencyEditor());
    Type("46.5");
    Enter();
    EXPECT_EQ(Cell(4, 1), "146.50000");
    EXPECT_EQ(Cell(4, 2), "146.50000");
}

TEST_F(CellEditing, TransmitFirstLeavesTheReceiveFrequencyEmpty) {
    Band(1);
    EnterFrequency(2, 2, "146");
    EXPECT_EQ(Row(2), QStringList({"", "146.00000", "OFF", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
}

TEST_F(CellEditing, RefusedFrequenciesKeepTheOldTextAndTone) {
    Band(1);
    EnterFrequency(1, 1, "145.125");
    Click(1, 3);
    Type("67.0");
    Enter();
    Key(Qt::Key_Escape);
    EnterFrequency(1, 1, "145.1234");
    EXPECT_EQ(MessageTexts(), QStringList({"输入数据错误，请按6.25K或 5k的倍数重新输入"}));
    EXPECT_EQ(messages[0].caption, "OstrelTZ写频软件");
    EXPECT_EQ(Cell(1, 1), "145.12500");
    EXPECT_EQ(Cell(1, 3), "67.0");
    messages.clear();
    // A comma is no decimal point: "145,125" is refused, not read as 145.
    for (const char* refused : {"66.99999", "521.00001", "abc", "-145", "145,125", "145.0075"}) {
        EnterFrequency(1, 1, refused);
        EXPECT_EQ(Cell(1, 1), "145.12500") << refused;
    }
    EXPECT_EQ(
        MessageTexts(),
        QStringList({"输入数据错误，请按正确的格式及大小重新输入", "输入数据错误，请按正确的格式及大小重新输入",
                     "输入数据错误，请按正确的格式及大小重新输入", "输入数据错误，请按正确的格式及大小重新输入",
                     "输入数据错误，请按正确的格式及大小重新输入", "输入数据错误，请按6.25K或 5k的倍数重新输入"}));
    messages.clear();
    EnterFrequency(1, 1, "145.0125");
    EXPECT_EQ(Cell(1, 1), "145.01250");
    EnterFrequency(1, 1, "145.0050");
    EXPECT_EQ(Cell(1, 1), "145.00500");
    EXPECT_TRUE(messages.empty());
    // On an empty row a refused frequency leaves the cell empty.
    EnterFrequency(9, 1, "145.1234");
    EXPECT_EQ(Row(9), QStringList(10, ""));
}

TEST_F(CellEditing, OutOfBandIsOnlyAWarning) {
    Band(0);
    EnterFrequency(3, 1, "145.125");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "超出频率范围!");
    EXPECT_EQ(messages[0].caption, "温馨提示");
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(Cell(3, 1), "145.12500");
    messages.clear();
    Band(9);
    EnterFrequency(4, 1, "521");
    EXPECT_EQ(MessageTexts(), QStringList({"超出频率范围!"}));
    EXPECT_EQ(Cell(4, 1), "521.00000");
    messages.clear();
    Band(2);
    EnterFrequency(5, 1, "256.025");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Cell(5, 1), "256.02500");
}

TEST_F(CellEditing, EnterWalksAlongTheRowAndOnToTheNext) {
    Band(1);
    Click(5, 1);
    Type("145.125");
    Enter();  // to column 2
    Enter();  // to column 3, the tone editor
    EXPECT_EQ(Grid()->Col(), 3);
    ASSERT_TRUE(ComboEditor());
    EXPECT_TRUE(ComboEditor()->isEditable());
    for (int col = 3; col <= 10; ++col) {
        EXPECT_EQ(Grid()->Col(), col);
        ASSERT_EQ(Focus(), Editor()) << col;
        Enter();
    }
    EXPECT_EQ(Grid()->Row(), 6);
    EXPECT_EQ(Grid()->Col(), 1);
    EXPECT_TRUE(FrequencyEditor());
    EXPECT_EQ(Row(5), kNewChannel);
}

TEST_F(CellEditing, EnterInAListOnTheLastRowGoesOnAsTabInsideTheGrid) {
    Band(1);
    EnterFrequency(128, 1, "146");
    Click(128, 7);
    Choose("低");
    Enter();
    EXPECT_EQ(Cell(128, 7), "低");
    EXPECT_FALSE(Editor());
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{128, 8}));
    EXPECT_EQ(Focus(), Grid());
    // From the last cell Enter leaves the grid, as Tab past it does.
    Click(128, 10);
    Enter();
    EXPECT_NE(Focus(), Grid());
    EXPECT_FALSE(Editor());
}

TEST_F(CellEditing, ARefusedFrequencyKeepsItsCellOpenAfterEnter) {
    Band(1);
    Click(6, 1);
    Type("145.1234");
    Enter();
    EXPECT_EQ(MessageTexts(), QStringList({"输入数据错误，请按6.25K或 5k的倍数重新输入"}));
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{6, 1}));
    // What was typed is there to be mended, all selected: typing replaces it,
    // End and Backspace mend it.
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->text(), "145.1234");
    EXPECT_EQ(FrequencyEditor()->selectedText(), "145.1234");
    Key(Qt::Key_End);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    Type("5");
    Enter();
    EXPECT_EQ(Cell(6, 1), "145.12500");
    EXPECT_EQ(Grid()->Col(), 2);
}

TEST_F(CellEditing, ARefusedFrequencyKeepsItsCellOpenAfterTabOrAnArrowToo) {
    Band(1);
    for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Down}) {
        messages.clear();
        Click(6, 1);
        Type("145.1234");
        Key(key);
        EXPECT_EQ(MessageTexts(), QStringList({"输入数据错误，请按6.25K或 5k的倍数重新输入"}));
        EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{6, 1}));
        ASSERT_TRUE(FrequencyEditor());
        EXPECT_EQ(FrequencyEditor()->text(), "145.1234");
        Key(Qt::Key_Escape);
        EXPECT_EQ(Cell(6, 1), "");
    }
}

TEST_F(CellEditing, ADoubleClickOpensTheCellWithItsWholeTextSelected) {
    Band(1);
    EnterFrequency(1, 1, "146.52");
    DoubleClick(1, 1);
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->selectedText(), "146.52000");
    Type("147.5");
    Enter();
    EXPECT_EQ(Cell(1, 1), "147.50000");
    Key(Qt::Key_Escape);
    Click(1, 3);
    Type("88.5");
    Enter();
    Key(Qt::Key_Escape);
    DoubleClick(1, 3);
    ASSERT_TRUE(ComboEditor());
    EXPECT_EQ(ComboEditor()->lineEdit()->selectedText(), "88.5");
    Type("100.0");
    Enter();
    EXPECT_EQ(Cell(1, 3), "100.0");
    EXPECT_TRUE(messages.empty());
}

TEST_F(CellEditing, AClickedToneCellTakesWhatIsTyped) {
    Band(1);
    EnterFrequency(1, 1, "146");
    // The click selects the cell's whole text, so typing replaces it.
    Click(1, 3);
    ASSERT_TRUE(ComboEditor());
    EXPECT_EQ(ComboEditor()->lineEdit()->selectedText(), "OFF");
    Type("d023n");
    Enter();
    EXPECT_EQ(Cell(1, 3), "D023N");
    // Enter opened the transmit tone, all selected as well.
    EXPECT_EQ(Grid()->Col(), 4);
    ASSERT_TRUE(ComboEditor());
    Type("88.5");
    Enter();
    EXPECT_EQ(Cell(1, 4), "88.5");
    Key(Qt::Key_Escape);
    // A slip is refused and offered again; the cell keeps its tone.
    Click(1, 4);
    Type("88.6");
    Enter();
    EXPECT_EQ(MessageTexts(), QStringList({"“88.6”不是信令代码"}));
    EXPECT_EQ(Cell(1, 4), "88.5");
    ASSERT_TRUE(ComboEditor());
    EXPECT_EQ(ComboEditor()->currentText(), "88.6");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Cell(1, 4), "88.5");
    messages.clear();
    Click(1, 4);
    Type("xyz");
    Click(2, 1);
    EXPECT_EQ(MessageTexts(), QStringList({"“xyz”不是信令代码"}));
    EXPECT_EQ(Cell(1, 4), "88.5");
    Key(Qt::Key_Escape);
    // Leaving the cell by clicking another writes by the same rule.
    Click(1, 3);
    Type("88.5");
    Click(2, 1);
    EXPECT_EQ(Cell(1, 3), "88.5");
}

TEST_F(CellEditing, ADcsCodeTypedOverASelectedToneCellLosesNoKey) {
    Band(1);
    EnterFrequency(1, 1, "146");
    Click(1, 3);
    Key(Qt::Key_Escape);
    ASSERT_EQ(Focus(), Grid());
    // Every key lands in the tone editor the first one opened: no box takes any.
    QTest::keyClicks(Focus(), "d754n");
    EXPECT_TRUE(messages.empty());
    ASSERT_TRUE(ComboEditor());
    EXPECT_EQ(ComboEditor()->currentText(), "d754n");
    Enter();
    EXPECT_EQ(Cell(1, 3), "D754N");
}

TEST_F(CellEditing, ANonDigitOverAFrequencySaysSoBesideTheGridAndLosesNoKey) {
    Band(1);
    Click(2, 1);
    Key(Qt::Key_Escape);
    QTest::keyClicks(Focus(), "x145.125");
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "请输入数字");
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->text(), "145.125");
    Enter();
    EXPECT_EQ(Cell(2, 1), "145.12500");
}

TEST_F(CellEditing, TypingRightAfterOpenGoesIntoTheCurrentCell) {
    fileAnswers = {SaveImage("typed.sin", Doc()->Session().ImageForSave())};
    Frame()->Action(ids::ID_FILE_OPEN)->trigger();
    ASSERT_EQ(Focus(), Grid());
    QTest::keyClicks(Focus(), "146");
    Enter();
    EXPECT_EQ(Cell(Grid()->Row(), 1), "146.00000");
    // After New as well.
    answers = {Answer::Discard};
    Frame()->Action(ids::ID_FILE_NEW)->trigger();
    EXPECT_EQ(Focus(), Grid());
}

TEST_F(CellEditing, TheModifiedPaneShowsUnsavedChanges) {
    EXPECT_EQ(Frame()->ModifiedPane()->text(), "");
    EnterFrequency(1, 1, "146");
    EXPECT_EQ(Frame()->ModifiedPane()->text(), "已修改");
    fileAnswers = {Path("pane.sin")};
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Frame()->ModifiedPane()->text(), "");
    App()->SetLanguage(Lang::En);
    EnterFrequency(2, 1, "146");
    EXPECT_EQ(Frame()->ModifiedPane()->text(), "Modified");
}

TEST_F(CellEditing, F2OpensTheCellWithTheCaretAtTheEnd) {
    Band(1);
    EnterFrequency(3, 1, "145.12");
    Click(3, 1);
    Key(Qt::Key_Escape);
    Key(Qt::Key_F2);
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->selectedText(), "");
    EXPECT_EQ(FrequencyEditor()->cursorPosition(), 9);
    for (int i = 0; i < 4; ++i) Key(Qt::Key_Backspace);
    Type("5");
    Enter();
    EXPECT_EQ(Cell(3, 1), "145.15000");
}

TEST_F(CellEditing, EditorsAreWideEnoughAndTheToneListLong) {
    Band(1);
    EnterFrequency(1, 1, "146");
    Click(1, 3);
    QComboBox* tone = ComboEditor();
    ASSERT_TRUE(tone);
    EXPECT_GE(tone->lineEdit()->width(), tone->fontMetrics().horizontalAdvance("D023N"));
    EXPECT_GE(tone->maxVisibleItems(), 15);
    EXPECT_EQ(tone->count(), 261);
    int longest = 0;
    for (int i = 0; i < tone->count(); ++i)
        longest = std::max(longest, tone->view()->fontMetrics().horizontalAdvance(tone->itemText(i)));
    EXPECT_GE(tone->view()->minimumWidth(), longest);
    // Typing does not shrink the editor off its cell.
    Type("d0");
    EXPECT_FALSE(QTest::qWaitFor([&] { return tone->geometry() != Grid()->CellRect(1, 3); }, 200));
    Key(Qt::Key_Escape);
    for (int col = 5; col <= 10; ++col) {
        Click(1, col);
        QComboBox* list = ComboEditor();
        ASSERT_TRUE(list) << col;
        EXPECT_GE(list->width(), list->sizeHint().width()) << col;
        EXPECT_EQ(list->geometry(), Grid()->CellRect(1, col)) << col;
    }
    // Only the open editor is on the grid: none stays drawn on another cell.
    Click(7, 5);
    Click(7, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Grid()->viewport()->findChildren<QComboBox*>().size() == 0; }));
    EXPECT_EQ(Cell(7, 5), "");
}

TEST_F(CellEditing, AChangedFrequencyIsWrittenWhenAnotherCellIsClicked) {
    Band(1);
    EnterFrequency(3, 1, "145.125");
    Click(3, 1);
    Type("146.5");
    Click(6, 4);
    EXPECT_EQ(Cell(3, 1), "146.50000");
    EXPECT_EQ(Cell(3, 2), "145.12500");
}

TEST_F(CellEditing, CtrlSWithAnOpenEditSavesIt) {
    Band(1);
    Click(2, 1);
    Type("150");
    fileAnswers = {Path("typed.sin")};
    Key(Qt::Key_S, Qt::ControlModifier);
    const RadioImage saved = Load(Path("typed.sin"));
    EXPECT_EQ(DecodeChannelRecord(RecordAt(saved, 2))[0], "150.00000");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(CellEditing, ACommandFindingARefusedEditDoesNotRunAndKeepsWhatWasTyped) {
    Band(1);
    Click(2, 1);
    Type("145.1234");
    fileAnswers = {Path("refused.sin")};
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(MessageTexts(), QStringList({"输入数据错误，请按6.25K或 5k的倍数重新输入"}));
    EXPECT_FALSE(QFileInfo::exists(Path("refused.sin")));
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->text(), "145.1234");
    // Nor does closing the window go on: the text waits to be mended.
    EXPECT_FALSE(Frame()->close());
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->text(), "145.1234");
    Key(Qt::Key_End);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    Type("5");
    Key(Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(DecodeChannelRecord(RecordAt(Load(Path("refused.sin")), 2))[0], "145.12500");
}

TEST_F(CellEditing, AMenuOpenedWhileACellIsTypedLeavesTheTypingAsItWas) {
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    Band(1);
    Click(3, 1);
    Type("999");
    QMenuBar* bar = Frame()->menuBar();
    QAction* file = bar->actions().first();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(file).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return file->menu()->isVisible(); }));
    QTest::keyClick(file->menu(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !file->menu()->isVisible(); }));
    EXPECT_TRUE(messages.empty());
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->text(), "999");
}

TEST_F(CellEditing, ClosingWithAnOpenEditAsksToSave) {
    EXPECT_FALSE(Doc()->IsModified());
    Click(2, 1);
    Type("250");
    answers = {Answer::Cancel};
    EXPECT_FALSE(Frame()->close());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "是否保存对“无标题”的更改？");
    EXPECT_EQ(Cell(2, 1), "250.00000");
}

TEST_F(CellEditing, ScrollingKeepsTheOpenEditOnItsCell) {
    Band(1);
    EnterFrequency(10, 1, "146");
    Click(10, 1);
    Type("147");
    const QPoint at = CellCentre(10, 1);
    QWheelEvent wheel(at, Grid()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(Grid()->viewport(), &wheel);
    EXPECT_GT(Grid()->verticalScrollBar()->value(), 0);
    ASSERT_TRUE(FrequencyEditor());
    EXPECT_EQ(FrequencyEditor()->text(), "147");
    EXPECT_EQ(FrequencyEditor()->geometry(), Grid()->CellRect(10, 1));
    Enter();
    EXPECT_EQ(Cell(10, 1), "147.00000");
}

TEST_F(CellEditing, EscapeAbandonsTheEditInEveryEditor) {
    Band(1);
    EnterFrequency(1, 1, "145.125");
    for (int col = 1; col <= 10; ++col) {
        Click(1, col);
        ASSERT_TRUE(Editor()) << col;
        if (col <= 4)
            Type(col <= 2 ? "150" : "88.5");
        else
            Choose(ComboEditor()->itemText(ComboEditor()->currentIndex() == 0 ? 1 : 0));
        Key(Qt::Key_Escape);
        EXPECT_FALSE(Editor()) << col;
        EXPECT_EQ(Focus(), Grid()) << col;
        EXPECT_EQ(Row(1), kNewChannel) << col;
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(CellEditing, DraggingSelectsARangeThatDeleteClears) {
    Band(1);
    for (int row = 4; row <= 8; ++row) EnterFrequency(row, 1, "146");
    Key(Qt::Key_Escape);
    QTest::mousePress(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(5, 2));
    QTest::mouseMove(Grid()->viewport(), CellCentre(6, 4));
    QTest::mouseMove(Grid()->viewport(), CellCentre(7, 3));
    QTest::mouseRelease(Grid()->viewport(), Qt::LeftButton, {}, CellCentre(7, 3));
    EXPECT_FALSE(Editor());
    const CellRange range = Grid()->SelectedCells();
    EXPECT_EQ((std::array{range.top, range.left, range.bottom, range.right}), (std::array{5, 2, 7, 3}));
    Key(Qt::Key_Delete);  // the selected cells, as typing an empty text empties them
    for (int row = 5; row <= 7; ++row)
        EXPECT_EQ(Row(row), QStringList({"146.00000", "", "OFF", "", "宽", "是", "高", "DTMF", "开", "关闭"})) << row;
    EXPECT_EQ(Cell(4, 1), "146.00000");
    EXPECT_EQ(Cell(8, 1), "146.00000");
    // Shift+click extends the selection.
    Click(2, 2);
    Key(Qt::Key_Escape);
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier, CellCentre(3, 5));
    EXPECT_FALSE(Editor());
    const CellRange extended = Grid()->SelectedCells();
    EXPECT_EQ((std::array{extended.top, extended.left, extended.bottom, extended.right}), (std::array{2, 2, 3, 5}));
}

TEST_F(CellEditing, AClickOnAChannelNumberOrACaptionSelectsItsRowOrColumnAndEveryCaptionShowsWhole) {
    QHeaderView* numbers = Grid()->verticalHeader();
    QHeaderView* captions = Grid()->horizontalHeader();
    const auto selected = [&] {
        const CellRange r = Grid()->SelectedCells();
        return std::array{r.top, r.left, r.bottom, r.right};
    };
    QTest::mouseClick(numbers->viewport(), Qt::LeftButton, {},
                      QPoint(numbers->width() / 2, numbers->sectionViewportPosition(2) + numbers->sectionSize(2) / 2));
    EXPECT_EQ(selected(), (std::array{3, 1, 3, 10}));
    QTest::mouseClick(
        captions->viewport(), Qt::LeftButton, {},
        QPoint(captions->sectionViewportPosition(3) + captions->sectionSize(3) / 2, captions->height() / 2));
    EXPECT_EQ(selected(), (std::array{1, 4, 128, 4}));
    // The caption row is tall enough for its text, and each caption fits its column.
    EXPECT_GE(captions->height(), captions->fontMetrics().height());
    for (int col = 1; col <= 10; ++col)
        EXPECT_GT(captions->sectionSize(col - 1), captions->fontMetrics().horizontalAdvance(Grid()->TextMatrix(0, col)))
            << col;
    EXPECT_EQ(Grid()->ColWidth(0), numbers->width());
    EXPECT_GT(numbers->width(), numbers->fontMetrics().horizontalAdvance("128"));
}

TEST_F(CellEditing, ArrowsAtTheEdgesStayInTheGrid) {
    const int model = View()->m_cbModel->currentIndex();
    Click(3, 1);
    Key(Qt::Key_Escape);
    ASSERT_EQ(Focus(), Grid());
    Key(Qt::Key_Left);
    EXPECT_EQ(Focus(), Grid());
    Key(Qt::Key_A);  // "请输入数字" and an editor: nothing else takes the letter
    EXPECT_EQ(View()->m_cbModel->currentIndex(), model);
    Key(Qt::Key_Escape);
    Grid()->SetCurrentCell(1, 10);
    Key(Qt::Key_Up);
    Key(Qt::Key_Right);
    EXPECT_EQ(Focus(), Grid());
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{1, 10}));
}

TEST_F(CellEditing, TabWalksTheCellsAndDownNeverReachesTheModelBox) {
    const int model = View()->m_cbModel->currentIndex();
    Click(1, 9);
    Key(Qt::Key_Escape);
    Key(Qt::Key_Tab);
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{1, 10}));
    Key(Qt::Key_Tab);
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{2, 1}));
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{1, 10}));
    Key(Qt::Key_Down);
    EXPECT_EQ(Focus(), Grid());
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{2, 10}));
    EXPECT_EQ(View()->m_cbModel->currentIndex(), model);
    // Tab in an open editor writes it and walks on, inside the grid.
    Band(1);
    Click(3, 1);
    Type("146");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Cell(3, 1), "146.00000");
    EXPECT_FALSE(Editor());
    EXPECT_EQ(Focus(), Grid());
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{3, 2}));
    // Ctrl+Tab leaves the grid, and so does Tab past the last cell.
    Key(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_NE(Focus(), Grid());
    Click(128, 10);
    Key(Qt::Key_Escape);
    Key(Qt::Key_Tab);
    EXPECT_NE(Focus(), Grid());
}

TEST_F(CellEditing, TheWheelScrollsAndNeverChangesAnOpenListOrTone) {
    Band(1);
    EnterFrequency(1, 1, "146");
    for (int col : {5, 3}) {
        const QString before = Cell(1, col);
        Click(1, col);
        ASSERT_TRUE(ComboEditor()) << col;
        QComboBox* editor = ComboEditor();
        const QPoint at = editor->rect().center();
        QWheelEvent wheel(at, editor->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(editor, &wheel);
        EXPECT_EQ(editor->currentText(), before) << col;
        EXPECT_GT(Grid()->verticalScrollBar()->value(), 0) << col;
        Click(2, 1);
        Key(Qt::Key_Escape);
        EXPECT_EQ(Cell(1, col), before) << col;
        Grid()->verticalScrollBar()->setValue(0);
    }
    // Nor does the wheel passing over one of the form's boxes change it.
    QComboBox* band = View()->m_cbBand;
    const int index = band->currentIndex();
    const QPoint at = band->rect().center();
    QWheelEvent wheel(at, band->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(band, &wheel);
    EXPECT_EQ(band->currentIndex(), index);
    // A wheel from the window system first gives the focus to a widget that
    // takes it from the wheel, and the box would then turn: none of the four
    // takes it so.
    for (QComboBox* box : {View()->m_cbModel, View()->m_cbBand, View()->m_cbPower, View()->m_cbManual})
        EXPECT_EQ(box->focusPolicy(), Qt::StrongFocus);
}

TEST_F(CellEditing, UpAndDownInAClosedListMeanTheNextRowLeftAndRightNothing) {
    Band(1);
    EnterFrequency(4, 1, "146");
    Click(4, 5);
    Key(Qt::Key_Down);
    EXPECT_EQ(Cell(4, 5), "宽");
    EXPECT_EQ((std::pair{Grid()->Row(), Grid()->Col()}), (std::pair{5, 5}));
    EXPECT_FALSE(Editor());
    Click(4, 5);
    Choose("窄");
    Key(Qt::Key_Up);
    EXPECT_EQ(Cell(4, 5), "窄");
    EXPECT_EQ(Grid()->Row(), 3);
    // Nor do the keys that walk a list or a page change a closed one.
    for (int col : {3, 7}) {
        const QString before = Cell(4, col);
        Click(4, col);
        for (Qt::Key key : {Qt::Key_Right, Qt::Key_Left, Qt::Key_End, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_PageUp})
            Key(key);
        ASSERT_TRUE(ComboEditor()) << col;
        Click(5, 1);
        EXPECT_EQ(Cell(4, col), before) << col;
    }
    EXPECT_EQ(Cell(4, 7), "高");
}

TEST_F(CellEditing, FlagCellsOfAnEmptyRowStayEmpty) {
    Click(7, 5);
    ASSERT_TRUE(ComboEditor());
    Key(Qt::Key_Down);
    Click(7, 1);
    EXPECT_EQ(Cell(7, 5), "");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(CellEditing, RightPressAndColumnSixOpenNothing) {
    Click(3, 1, Qt::RightButton);
    EXPECT_FALSE(Editor());
    Grid()->setFocus();
    Grid()->SetCurrentCell(3, 6);
    QTest::keyClicks(Grid(), "5");
    EXPECT_FALSE(Editor());
    Click(3, 6);  // a left click does open it
    ASSERT_TRUE(ComboEditor());
    EXPECT_EQ(ComboEditor()->objectName(), QString::number(ids::IDC_LIST_SCAN));
}

TEST_F(CellEditing, EmptyingFrequenciesEmptiesTonesThenFlags) {
    Band(1);
    EnterFrequency(1, 1, "146");
    EnterFrequency(1, 1, "");
    EXPECT_EQ(Row(1), QStringList({"", "146.00000", "", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
    Click(1, 2);
    Key(Qt::Key_Delete);
    Click(2, 1);  // left by moving away
    EXPECT_EQ(Row(1), QStringList(10, ""));
}

TEST_F(CellEditing, AFrequencyTypedBesideALeftoverToneGetsTheOtherDefaults) {
    Band(1);
    EnterFrequency(1, 2, "146");
    Click(1, 3);
    Type("67.0");
    Enter();
    Key(Qt::Key_Escape);
    EnterFrequency(1, 2, "");  // Enter empties the flags, the receive tone stays
    EXPECT_EQ(Row(1), QStringList({"", "", "67.0", "", "", "", "", "", "", ""}));
    EnterFrequency(1, 1, "145.125");
    EXPECT_EQ(Row(1), QStringList({"145.12500", "145.12500", "67.0", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
}

TEST_F(CellEditing, SavedEditsGiveTheExpectedRecordBytes) {
    Band(1);
    EnterFrequency(1, 1, "145.125");
    Click(1, 4);
    Type("D023N");
    Click(1, 10);
    Choose("载波");
    Click(1, 3);
    Type("67.0");
    Click(2, 2);
    Click(3, 3);
    fileAnswers = {Path("edited.sin")};
    Trigger(ids::ID_FILE_SAVE);
    const RadioImage saved = Load(Path("edited.sin"));
    const std::uint8_t expected[16] = {0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14,
                                       0x70, 0x06, 0x23, 0x80, 0x02, 0xFB, 0xFF, 0xFF};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(saved[static_cast<std::size_t>(i)], expected[i]) << i;
    EXPECT_EQ(saved[addr::kBand], 0xEF);
}

TEST_F(CellEditing, ListsOpenOnTheirCellWithTheCellsEntry) {
    Band(1);
    EnterFrequency(1, 1, "146");
    Click(1, 8);
    QComboBox* signal = ComboEditor();
    ASSERT_TRUE(signal);
    EXPECT_EQ(signal->currentText(), "DTMF");
    EXPECT_EQ(signal->count(), 3);
    EXPECT_EQ(signal->itemText(2), "队列同步");
    Choose("队列同步");
    Click(2, 1);
    EXPECT_EQ(Cell(1, 8), "队列同步");
    Click(1, 8);
    EXPECT_EQ(ComboEditor()->currentText(), "队列同步");  // survives being loaded again
}

TEST_F(CellEditing, UnusualBytesOfOtherChannelsSurviveAnEdit) {
    RadioImage image = NewDocumentImage();
    // Channel 1: optional signalling 1, busy lockout mode 6, unused bits set,
    // a tone code outside the table.
    const ChannelRecord odd{0x00, 0x25, 0x51, 0x14, 0x00, 0x25, 0x51, 0x14,
                            0x05, 0x80, 0x98, 0x45, 0x01, 0xDE, 0xF3, 0x5A};
    std::copy(odd.begin(), odd.end(), image.begin());
    fileAnswers = {SaveImage("odd.sin", image)};
    Trigger(ids::ID_FILE_OPEN);
    EXPECT_EQ(Cell(1, 3), "D05N");
    // Looking into every cell of channel 1 changes nothing.
    for (int col = 1; col <= 10; ++col) Click(1, col);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Doc()->IsModified());
    Band(1);
    EnterFrequency(2, 1, "145");
    Trigger(ids::ID_FILE_SAVE);
    const RadioImage saved = Load(Path("odd.sin"));
    EXPECT_EQ(RecordAt(saved, 1), odd);
    EXPECT_EQ(DecodeChannelRecord(RecordAt(saved, 2))[0], "145.00000");
}

TEST_F(CellEditing, TheGridIsATableToAccessibilityTools) {
    Band(1);
    EnterFrequency(2, 1, "145.125");
    QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(Grid());
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->role(), QAccessible::Table);
    QAccessibleTableInterface* table = grid->tableInterface();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rowCount(), 128);
    EXPECT_EQ(table->columnCount(), 10);
    for (int c = 1; c <= 10; ++c) EXPECT_EQ(table->columnDescription(c - 1), Grid()->TextMatrix(0, c)) << c;
    QAccessibleInterface* cell = table->cellAt(1, 0);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->text(QAccessible::Name), "145.12500");
    QAccessibleTableCellInterface* cellInfo = cell->tableCellInterface();
    ASSERT_TRUE(cellInfo);
    const QList<QAccessibleInterface*> headers = cellInfo->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0]->text(QAccessible::Name), "接收频率");
    // Qt hands the header cell over without keeping it.
    QAccessible::deleteAccessibleInterface(QAccessible::registerAccessibleInterface(headers[0]));
    // The open editor is reachable the same way.
    Click(2, 3);
    QAccessibleInterface* editor = QAccessible::queryAccessibleInterface(Editor());
    ASSERT_TRUE(editor);
    EXPECT_EQ(editor->role(), QAccessible::ComboBox);
}

TEST_F(CellEditing, EveryCommandWritesAnOpenEditFirst) {
    // Each command starts with a typed, not yet confirmed frequency; the
    // command's own dialog or question is then turned down.
    const std::pair<int, const char*> commands[] = {{ids::ID_READ, "read"},         {ids::ID_WRITE, "write"},
                                                    {ids::ID_EXPORT_CSV, "export"}, {ids::ID_IMPORT_CSV, "import"},
                                                    {ids::ID_FILE_NEW, "new"},      {ids::ID_FILE_OPEN, "open"},
                                                    {ids::ID_EDIT_COPY, "copy"},    {ids::ID_FILE_SAVE_AS, "save as"}};
    int row = 1;
    for (const auto& [command, name] : commands) {
        Click(row, 1);
        ASSERT_TRUE(FrequencyEditor()) << name;
        Type("250");
        answers = {Answer::Cancel};
        Trigger(command);
        View()->Progress()->close();
        EXPECT_FALSE(Editor()) << name;
        EXPECT_EQ(Cell(row, 1), "250.00000") << name;
        EXPECT_TRUE(Doc()->IsModified()) << name;
        ++row;
    }
    // Undo first writes the edit as a step of its own, then takes it back.
    Click(row, 1);
    Type("250");
    Trigger(ids::ID_EDIT_UNDO);
    EXPECT_EQ(Cell(row, 1), "");
    Trigger(ids::ID_EDIT_REDO);
    EXPECT_EQ(Cell(row, 1), "250.00000");
}

TEST_F(CellEditing, ToolbarAndContextMenuCommandsTakeTheTypedValue) {
    // Typed, not confirmed with Enter, then a command chosen with the pointer.
    auto typeIntoCell = [&](int row) {
        Click(row, 1);
        ASSERT_TRUE(FrequencyEditor());
        ASSERT_EQ(Focus(), FrequencyEditor()) << row;
        Type("250");
    };
    auto clickToolbar = [&](int id) {
        QWidget* button = Frame()->ToolBar()->widgetForAction(Frame()->Action(id));
        ASSERT_TRUE(button);
        QTest::mouseClick(button, Qt::LeftButton);
    };
    typeIntoCell(1);
    clickToolbar(ids::ID_WRITE);
    EXPECT_FALSE(Editor());
    EXPECT_EQ(Cell(1, 1), "250.00000");
    EXPECT_TRUE(View()->Progress()->isVisible());
    View()->Progress()->close();

    // The print dialog stands over a grid that already holds the value.
    typeIntoCell(2);
    bool editorOpen = true;
    QString printed;
    WithModal([&] { clickToolbar(ids::ID_FILE_PRINT); },
              [&](QWidget*) {
                  editorOpen = Editor() != nullptr;
                  printed = Cell(2, 1);
              });
    EXPECT_FALSE(editorOpen);
    EXPECT_EQ(printed, "250.00000");
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));

    // The context menu of the transmit cell beside it: its copy holds what the edit set.
    typeIntoCell(3);
    Click(3, 2, Qt::RightButton);
    const QPoint at = CellCentre(3, 2);
    QContextMenuEvent menuKey(QContextMenuEvent::Mouse, at, Grid()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(Grid()->viewport(), &menuKey);
    QMenu* menu = Frame()->GridMenu();
    ASSERT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(Frame()->Action(ids::ID_EDIT_COPY)).center());
    EXPECT_EQ(QApplication::clipboard()->text().trimmed(), "250.00000");
    EXPECT_EQ(Cell(3, 1), "250.00000");
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(CellEditing, ListTextsFollowTheLanguageWithoutChangingTheDocument) {
    Band(1);
    EnterFrequency(3, 1, "146");
    Click(3, 7);
    Choose("低");
    Click(3, 1);
    fileAnswers = {Path("before.sin")};
    Key(Qt::Key_S, Qt::ControlModifier);
    App()->SetLanguage(Lang::En);
    EXPECT_EQ(Row(3), QStringList({"146.00000", "146.00000", "OFF", "OFF", "Wide", "Yes", "Low", "DTMF", "On", "Off"}));
    EXPECT_FALSE(Doc()->IsModified());
    // Typing in the new language, then undo across the switch.
    Click(3, 5);
    Choose("Narrow");
    Click(3, 1);
    EXPECT_EQ(Cell(3, 5), "Narrow");
    Trigger(ids::ID_EDIT_UNDO);
    EXPECT_EQ(Cell(3, 5), "Wide");
    EXPECT_FALSE(Doc()->IsModified());
    App()->SetLanguage(Lang::Zh);
    EXPECT_EQ(Cell(3, 7), "低");
    fileAnswers = {Path("after.sin")};
    Trigger(ids::ID_FILE_SAVE_AS);
    EXPECT_EQ(Load(Path("after.sin")), Load(Path("before.sin")));
}

// A channel whose optional signalling has no text shows an empty cell; its list
// opens at 无. A look at it changes nothing, but 无 chosen from the list is
// written.
TEST_F(CellEditing, TheEntryAListOpensAtIsWrittenWhenChosen) {
    RadioImage image{};
    ASSERT_TRUE(LoadSinFile(OSTRELTZ_SAMPLE, image).ok);
    const std::size_t signal = ChannelOffset(1) + 12;
    image[signal] = 0x01;
    OpenImage(image);
    ASSERT_EQ(Cell(1, 8), "");
    Click(1, 8);
    ASSERT_TRUE(ComboEditor());
    EXPECT_EQ(ComboEditor()->currentText(), "无");
    Click(2, 1);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Doc()->IsModified());
    Click(1, 8);
    Choose("无");
    Click(2, 1);
    Key(Qt::Key_Escape);
    EXPECT_EQ(Cell(1, 8), "无");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(View()->ImageForSave()[signal], 0x00);
}
