// In-place editing of the channel grid with real key and mouse events.
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>

#include "editor/CellEditors.h"
#include "res/ResourceIds.h"
#include "support/CellEditingFixture.h"

TEST_F(CellEditing, NewChannelTypedWithEnterGetsEveryDefault) {
    Band(1);
    Click(1, 1);
    ASSERT_EQ(Focus(), Editors()->m_editFreq);
    Type("145.125");
    Enter();
    EXPECT_EQ(Row(1), QStringList({"145.12500", "145.12500", "OFF", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Grid()->Col(), 2);
    EXPECT_EQ(Editors()->m_editFreq->text(), "145.12500");
    EXPECT_EQ(Editors()->m_editFreq->selectedText(), "145.12500");
    EXPECT_TRUE(Editors()->m_editFreq->isVisible());
    EXPECT_EQ(Focus(), Editors()->m_editFreq);
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(CellEditing, TypingADigitStartsANewFrequency) {
    Band(1);
    Grid()->setFocus();
    Grid()->SetCurrentCell(4, 1);
    QTest::keyClicks(Grid(), "1");
    ASSERT_EQ(Focus(), Editors()->m_editFreq);
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
    View()->SetCellText(1, 3, "67.0");
    EnterFrequency(1, 1, "145.1234");
    EXPECT_EQ(MessageTexts(), QStringList({"输入数据错误，请按6.25K或 5k的倍数重新输入"}));
    EXPECT_EQ(messages[0].caption, "OstrelTZ写频软件");
    EXPECT_EQ(Cell(1, 1), "145.12500");
    EXPECT_EQ(Cell(1, 3), "67.0");
    messages.clear();
    for (const char* refused : {"66.99999", "521.00001", "abc", "-145"}) {
        EnterFrequency(1, 1, refused);
        EXPECT_EQ(Cell(1, 1), "145.12500") << refused;
    }
    EXPECT_EQ(MessageTexts(), QStringList(4, "输入数据错误，请按正确的格式及大小重新输入"));
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
    EXPECT_TRUE(Editors()->m_cbTone->isVisible());
    for (int col = 3; col <= 10; ++col) {
        EXPECT_EQ(Grid()->Col(), col);
        Enter();
    }
    EXPECT_EQ(Grid()->Row(), 6);
    EXPECT_EQ(Grid()->Col(), 1);
    EXPECT_TRUE(Editors()->m_editFreq->isVisible());
    EXPECT_EQ(Row(5), QStringList({"145.12500", "145.12500", "OFF", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
}

TEST_F(CellEditing, EnterInAListOnTheLastRowPassesTheFocusOn) {
    Band(1);
    EnterFrequency(128, 1, "146");
    Click(128, 7);
    QComboBox* power = Editors()->m_cbPowerCell;
    ASSERT_TRUE(power->isVisible());
    power->setCurrentIndex(0);  // "低"
    power->hidePopup();
    power->setFocus();
    Enter();
    EXPECT_EQ(Cell(128, 7), "低");
    EXPECT_FALSE(power->isVisible());
    EXPECT_EQ(Grid()->Row(), 128);
    EXPECT_EQ(Grid()->Col(), 7);
    EXPECT_NE(Focus(), Grid());
}

TEST_F(CellEditing, ToneTextsAreMatchedIgnoringCase) {
    Band(1);
    EnterFrequency(1, 1, "146");
    Grid()->setFocus();
    Grid()->SetCurrentCell(1, 3);
    QTest::keyClicks(Grid(), "d");  // a letter shows the digits hint, then the tone text starts with it
    EXPECT_EQ(MessageTexts(), QStringList({"请输入数字"}));
    ASSERT_TRUE(Editors()->m_cbTone->isVisible());
    Type("023n");
    Enter();
    EXPECT_EQ(Cell(1, 3), "D023N");
    EXPECT_EQ(Grid()->Col(), 4);
    ASSERT_TRUE(Editors()->m_cbTone->isVisible());
    Editors()->m_cbTone->setEditText("xyz");
    Enter();
    EXPECT_EQ(Cell(1, 4), "OFF");
    // Leaving the cell by moving away writes by the same rule.
    Click(1, 3);
    Editors()->m_cbTone->setEditText("88.5");
    Click(2, 1);
    EXPECT_EQ(Cell(1, 3), "88.5");
}

TEST_F(CellEditing, ScrollingDiscardsTheEdit) {
    Band(1);
    EnterFrequency(1, 1, "146");
    Click(1, 1);
    Editors()->m_editFreq->setText("147");
    Grid()->verticalScrollBar()->setValue(10);
    EXPECT_FALSE(Editors()->OpenEditor());
    EXPECT_EQ(Cell(1, 1), "146.00000");
    Grid()->verticalScrollBar()->setValue(0);
    Click(1, 3);
    ASSERT_TRUE(Editors()->m_cbTone->isVisible());
    Editors()->m_cbTone->setEditText("67.0");
    Grid()->verticalScrollBar()->setValue(5);
    EXPECT_FALSE(Editors()->m_cbTone->isVisible());
    EXPECT_EQ(Cell(1, 3), "OFF");
}

TEST_F(CellEditing, FlagCellsOfAnEmptyRowStayEmpty) {
    Click(7, 5);
    ASSERT_TRUE(Editors()->m_cbWidth->isVisible());
    Editors()->m_cbWidth->hidePopup();
    Click(7, 1);
    EXPECT_EQ(Cell(7, 5), "");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(CellEditing, RightPressAndColumnSixOpenNothing) {
    Click(3, 1, Qt::RightButton);
    EXPECT_FALSE(Editors()->OpenEditor());
    Grid()->setFocus();
    Grid()->SetCurrentCell(3, 6);
    QTest::keyClicks(Grid(), "5");
    EXPECT_FALSE(Editors()->OpenEditor());
    Click(3, 6);  // a left press does open it
    EXPECT_TRUE(Editors()->m_cbScan->isVisible());
}

TEST_F(CellEditing, EmptyingFrequenciesEmptiesTonesThenFlags) {
    Band(1);
    EnterFrequency(1, 1, "146");
    EnterFrequency(1, 1, "");
    EXPECT_EQ(Row(1), QStringList({"", "146.00000", "", "OFF", "宽", "是", "高", "DTMF", "开", "关闭"}));
    Click(1, 2);
    Editors()->m_editFreq->clear();
    Click(2, 1);  // left by moving away
    EXPECT_EQ(Row(1), QStringList(10, ""));
}

TEST_F(CellEditing, SavedEditsGiveTheExpectedRecordBytes) {
    Band(1);
    EnterFrequency(1, 1, "145.125");
    Click(1, 4);
    Editors()->m_cbTone->setEditText("D023N");
    Click(1, 10);
    QComboBox* busy = Editors()->m_cbBusy;
    busy->hidePopup();
    busy->setCurrentIndex(1);
    Click(1, 3);
    Editors()->m_cbTone->setEditText("67.0");
    Click(2, 2);
    Editors()->m_editFreq->clear();
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
    QComboBox* signal = Editors()->m_cbSignal;
    ASSERT_TRUE(signal->isVisible());
    EXPECT_EQ(signal->currentText(), "DTMF");
    EXPECT_EQ(signal->count(), 3);
    EXPECT_EQ(signal->itemText(2), "队列同步");
    EXPECT_EQ(signal->geometry(), Grid()->CurrentCellRect());
    signal->hidePopup();
    signal->setCurrentIndex(2);
    Click(2, 1);
    EXPECT_EQ(Cell(1, 8), "队列同步");
    Click(1, 8);
    EXPECT_EQ(signal->currentText(), "队列同步");  // survives being loaded again
}
