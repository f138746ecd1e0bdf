// Comparing the document with a file in the window: the differing cells are
// marked, F8 and Shift+F8 and the panel's buttons step through them, and an
// edit that makes a cell the same again takes its mark away.
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTableWidget>
#include <tuple>

#include "editor/ComparePanel.h"
#include "history/RadioHistory.h"
#include "history/UserHistory.h"
#include "image/ChannelTable.h"
#include "res/ResourceIds.h"
#include "support/CellEditingFixture.h"
#include "support/WithModal.h"

using namespace ids;

namespace {

class Compare : public CellEditing {
protected:
    // The sample file with channel 2's receive tone, channel 4's width and
    // channel 6's receive frequency changed, and the squelch level raised.
    static RadioImage ChangedSample(const RadioImage& sample) {
        PlainChannelTable table;
        UpdateGridFromImage(sample, table);
        table.SetCellText(2, 3, "88.5");
        table.SetCellText(4, 5, table.CellText(4, 5) == "宽" ? "窄" : "宽");
        table.SetCellText(6, 1, "150.00000");
        RadioImage changed = sample;
        UpdateImageFromGrid(table, changed);
        changed[addr::kSquelch] = static_cast<std::uint8_t>((sample[addr::kSquelch] + 1) % 10);
        return changed;
    }
    CComparePanel* Panel() const { return Frame()->findChild<CComparePanel*>(QStringLiteral("comparePanel")); }
    bool Marked(int row, int col) const {
        return Grid()->model()->index(row - 1, col - 1).data(Qt::BackgroundRole).isValid();
    }
    std::pair<int, int> Current() const { return {Grid()->Row(), Grid()->Col()}; }
};

}  // namespace

TEST_F(Compare, StepsThroughTheDifferencesOfTwoSampleFiles) {
    const RadioImage sample = Load(QStringLiteral(OSTRELTZ_SAMPLE));
    OpenImage(sample);
    fileAnswers = {SaveImage("other.sin", ChangedSample(sample))};
    Trigger(ID_COMPARE_FILE);
    // The file is only compared, and the window asking for it says so.
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_EQ(fileRequests[0].caption, QStringLiteral("选择要比较的文件"));
    ASSERT_TRUE(View()->Comparison().Active());
    ASSERT_TRUE(Panel()->isVisible());
    QStringList lines;
    for (int i = 0; i < Panel()->List()->count(); ++i) lines << Panel()->List()->item(i)->text();
    EXPECT_EQ(lines.size(), 4) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("频道 2 接收信令: 88.5 → OFF")))
        << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("静噪等级(SQ): ")));
    for (auto [row, col] : {std::pair(2, 3), std::pair(4, 5), std::pair(6, 1)}) EXPECT_TRUE(Marked(row, col)) << row;
    EXPECT_FALSE(Marked(2, 4));
    EXPECT_EQ(Grid()->model()->index(1, 2).data(Qt::ToolTipRole).toString(), QStringLiteral("other.sin 中为：88.5"));

    // The comparison starts on the first difference; F8 goes on, round to the first.
    EXPECT_EQ(Current(), std::pair(2, 3));
    Key(Qt::Key_F8);
    EXPECT_EQ(Current(), std::pair(4, 5));
    Key(Qt::Key_F8);
    EXPECT_EQ(Current(), std::pair(6, 1));
    Key(Qt::Key_F8);
    EXPECT_EQ(Current(), std::pair(2, 3));
    Key(Qt::Key_F8, Qt::ShiftModifier);
    EXPECT_EQ(Current(), std::pair(6, 1));
    QTest::mouseClick(Panel()->findChild<QPushButton*>(QStringLiteral("previousDifference")), Qt::LeftButton);
    EXPECT_EQ(Current(), std::pair(4, 5));

    // Typing the other file's frequency back: that cell is the same again.
    EnterFrequency(6, 1, QStringLiteral("150.00000"));
    EXPECT_FALSE(Marked(6, 1));
    EXPECT_EQ(Panel()->List()->count(), 3);
    Click(10, 1);
    Key(Qt::Key_Escape);
    Key(Qt::Key_F8);
    EXPECT_EQ(Current(), std::pair(2, 3));

    // Ending it with the keys: Ctrl+Tab leaves the grid, Tab walks on to the
    // panel's end button, Space presses it; the next arrow key moves in the
    // grid and changes no box of the form.
    auto* end = Panel()->findChild<QPushButton*>(QStringLiteral("endComparison"));
    Key(Qt::Key_Tab, Qt::ControlModifier);
    for (int i = 0; i < 12 && Focus() != end; ++i) Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), end);
    const int model = View()->m_cbModel->currentIndex();
    Key(Qt::Key_Space);
    EXPECT_FALSE(View()->Comparison().Active());
    EXPECT_FALSE(Panel()->isVisible());
    EXPECT_FALSE(Marked(2, 3));
    EXPECT_FALSE(Frame()->Action(ID_NEXT_DIFFERENCE)->isEnabled());
    EXPECT_EQ(Focus(), Grid());
    Key(Qt::Key_Down);
    EXPECT_EQ(Current(), std::pair(3, 3));
    EXPECT_EQ(View()->m_cbModel->currentIndex(), model);
}

// With no cell differing, the current cell stays where the user was and
// the keys go on to it: typing edits that cell, never channel 1.
TEST_F(Compare, AComparisonWithNoCellDifferingKeepsTheCurrentCell) {
    const RadioImage sample = Load(QStringLiteral(OSTRELTZ_SAMPLE));
    OpenImage(sample);
    Click(8, 1);
    Key(Qt::Key_Escape);
    ASSERT_EQ(Current(), std::pair(8, 1));
    fileAnswers = {SaveImage("same.sin", sample)};
    Trigger(ID_COMPARE_FILE);
    ASSERT_TRUE(View()->Comparison().Active());
    EXPECT_EQ(Current(), std::pair(8, 1));
    EXPECT_EQ(Focus(), Grid());
    Type(QStringLiteral("146"));
    Enter();
    Key(Qt::Key_Escape);
    EXPECT_EQ(Cell(8, 1), QStringLiteral("146.00000"));
    EXPECT_EQ(Row(1), QStringList({"145.52000", "145.52000", "67.0", "67.0", "宽", "是", "高", "无", "开", "载波"}));
}

// A file longer than radio data is compared by its first 2112 bytes, and
// the person is told of the rest, as opening it tells.
TEST_F(Compare, ALongerFileIsComparedByItsRadioDataAndSaysSo) {
    const RadioImage sample = Load(QStringLiteral(OSTRELTZ_SAMPLE));
    OpenImage(sample);
    QFile longer(Path("longer.sin"));
    ASSERT_TRUE(longer.open(QIODevice::WriteOnly));
    longer.write(reinterpret_cast<const char*>(sample.data()), static_cast<qint64>(sample.size()));
    longer.write("xyz");
    longer.close();
    fileAnswers = {longer.fileName()};
    Trigger(ID_COMPARE_FILE);
    ASSERT_TRUE(View()->Comparison().Active());
    EXPECT_TRUE(View()->Comparison().Differences().empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              QStringLiteral("文件“%1”比写频数据多出 3 字节：只读入了前 2112 字节，多出的部分被忽略。")
                  .arg(longer.fileName()));
}

TEST_F(Compare, AFileThatCannotBeReadSaysWhyAndComparesNothing) {
    fileAnswers = {Path("missing.sin")};
    Trigger(ID_COMPARE_FILE);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("无法打开文件“%1”。").arg(Path("missing.sin"))));
    EXPECT_FALSE(View()->Comparison().Active());
}

namespace {

// Clicks row `row` of the history window's table, then the button `name`.
void ChooseEntry(QWidget* dialog, int row, const char* name) {
    auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("historyTable"));
    ASSERT_NE(table, nullptr);
    ASSERT_GT(table->rowCount(), row);
    const QRect cell = table->visualItemRect(table->item(row, 0));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseClick(dialog->findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
}

}  // namespace

TEST_F(Compare, AHistoryEntryIsComparedWithTheDocumentAndOpenedAsANewOne) {
    const RadioImage sample = Load(QStringLiteral(OSTRELTZ_SAMPLE));
    FolderHistoryStore store(UserHistoryFolder());
    for (const std::string& name : store.Names()) store.Remove(name);
    RadioHistory history(store);
    ASSERT_FALSE(history.Record(ChangedSample(sample), false, "/dev/ttyUSB0", 0x0A, 1765281600000LL));
    ASSERT_FALSE(history.Record(NewDocumentImage(), true, "/dev/ttyUSB0", 0x0A, 1765281700000LL));
    OpenImage(sample);

    WithModal([&] { Trigger(ID_HISTORY); },
              [&](QWidget* dialog) {
                  auto* table = dialog->findChild<QTableWidget*>(QStringLiteral("historyTable"));
                  ASSERT_EQ(table->rowCount(), 2);
                  EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("写频"));
                  EXPECT_EQ(table->item(1, 1)->text(), QStringLiteral("读频"));
                  EXPECT_EQ(table->item(1, 2)->text(), QStringLiteral("/dev/ttyUSB0"));
                  EXPECT_EQ(table->item(1, 3)->text(), QStringLiteral("0x0A"));
                  // By the keys: Down chooses the entry, Tab leaves the
                  // list without choosing another and goes on to the
                  // buttons, Space presses one.
                  table->setFocus();
                  QTest::keyClick(table, Qt::Key_Down);
                  QTest::keyClick(table, Qt::Key_Tab);
                  EXPECT_NE(dialog->focusWidget(), table);
                  auto* compare = dialog->findChild<QPushButton*>(QStringLiteral("compareEntry"));
                  for (int tabs = 0; tabs < 4 && dialog->focusWidget() != compare; ++tabs)
                      QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
                  ASSERT_EQ(dialog->focusWidget(), compare);
                  EXPECT_EQ(table->currentRow(), 1);
                  QTest::keyClick(compare, Qt::Key_Space);
              });
    ASSERT_TRUE(View()->Comparison().Active());
    EXPECT_TRUE(Marked(2, 3));
    EXPECT_EQ(Current(), std::pair(2, 3));
    EXPECT_FALSE(Doc()->IsModified());

    // The open comparison follows a switch of language: its name, its lines
    // and the tips of its cells, and back again.
    const std::string time = HistoryTimeText(1765281600000LL);
    for (const auto& [action, title, line, tip] :
         {std::tuple{"languageEn", "Compare: history " + time + " → this document",
                     "Channel 4 W/N: ", "In history " + time + ": 88.5"},
          std::tuple{"languageZh", "比较：历史记录 " + time + " → 当前文档",
                     "频道 4 宽/窄: ", "历史记录 " + time + " 中为：88.5"}}) {
        Frame()->findChild<QAction*>(action)->trigger();
        EXPECT_EQ(Panel()->windowTitle().toStdString(), title);
        QStringList lines;
        for (int i = 0; i < Panel()->List()->count(); ++i) lines << Panel()->List()->item(i)->text();
        EXPECT_EQ(lines.filter(QString::fromStdString(line)).size(), 1) << lines.join('\n').toStdString();
        EXPECT_EQ(Grid()->model()->index(1, 2).data(Qt::ToolTipRole).toString().toStdString(), tip);
    }

    WithModal([&] { Trigger(ID_HISTORY); }, [&](QWidget* dialog) { ChooseEntry(dialog, 1, "openEntry"); });
    EXPECT_EQ(View()->ImageForSave(), [&] {
        EditSession session;
        session.Load(ChangedSample(sample));
        return session.ImageForSave();
    }());
    EXPECT_EQ(Doc()->Title(), QStringLiteral("无标题"));
    // The document is now the entry: nothing differs from it.
    EXPECT_FALSE(Marked(2, 3));

    // Switching the keeping off in the window is the setting the transfers read.
    WithModal([&] { Trigger(ID_HISTORY); },
              [&](QWidget* dialog) {
                  auto* keep = dialog->findChild<QCheckBox*>(QStringLiteral("keepHistory"));
                  ASSERT_TRUE(keep->isChecked());
                  QTest::mouseClick(keep, Qt::LeftButton, {}, QPoint(8, keep->height() / 2));
              });
    EXPECT_FALSE(HistoryEnabled());
    ASSERT_FALSE(SetHistoryEnabled(true));

    // Where the setting cannot be stored, the window says so and the box
    // keeps showing what the transfers will do.
    const QString settingsFile = ProgramSettings().fileName();
    QFile::remove(settingsFile);
    ASSERT_TRUE(QDir().mkpath(settingsFile));
    messages.clear();
    WithModal([&] { Trigger(ID_HISTORY); },
              [&](QWidget* dialog) {
                  auto* keep = dialog->findChild<QCheckBox*>(QStringLiteral("keepHistory"));
                  QTest::mouseClick(keep, Qt::LeftButton, {}, QPoint(8, keep->height() / 2));
                  EXPECT_TRUE(keep->isChecked());
              });
    QDir(settingsFile).removeRecursively();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith("无法保存文件“" + settingsFile + "”。")) << messages[0].text.toStdString();
    EXPECT_TRUE(HistoryEnabled());

    // A history folder that cannot be listed is named before the window
    // opens, with its switch.
    const QString folder = QString::fromStdString(UserHistoryFolder());
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile file(folder);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    messages.clear();
    WithModal([&] { Trigger(ID_HISTORY); },
              [&](QWidget* dialog) {
                  EXPECT_EQ(dialog->findChild<QTableWidget*>(QStringLiteral("historyTable"))->rowCount(), 0);
              });
    QFile::remove(folder);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "无法打开文件“" + folder + "”。\n这是一个文件，不是文件夹");
}
