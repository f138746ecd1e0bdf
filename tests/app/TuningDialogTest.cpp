// The tuning dialog with real clicks and keys, and one live exchange with the
// simulated radio.
#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>

#include "support/GuiFixture.h"
#include "support/SimProcess.h"
#include "tuning/TuningDlg.h"

namespace {

class TuningDialog : public GuiTest {
protected:
    void Open(const QString& band = "136 - 174MHz", const QString& port = "COM1") {
        dialog = std::make_unique<CTuningDlg>(band, port);
        dialog->show();
        tree = Find<QTreeWidget>(1026);
    }
    template <typename T>
    T* Find(int id) const {
        T* w = dialog->findChild<T*>(QString::number(id));
        EXPECT_NE(w, nullptr) << id;
        return w;
    }
    void Select(const QString& text) {
        const auto items = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(items.isEmpty()) << text.toStdString();
        tree->setCurrentItem(items.first());
    }
    QStringList ListTexts(int id) const {
        QStringList texts;
        auto* list = Find<QComboBox>(id);
        for (int i = 0; i < list->count(); ++i) texts << list->itemText(i);
        return texts;
    }
    std::unique_ptr<CTuningDlg> dialog;
    QTreeWidget* tree = nullptr;
};

}  // namespace

TEST_F(TuningDialog, TreeShowsAndHidesThePages) {
    Open();
    EXPECT_EQ(dialog->windowTitle(), "OstrelTZ在线调试");
    EXPECT_EQ(Find<QGroupBox>(1029)->title(),
              "请先设定调试频率，包括高，中，低三档，便于你后续选择，否则程序将送出默认频率");
    EXPECT_FALSE(Find<QLineEdit>(1030)->isVisible());
    EXPECT_FALSE(Find<QSlider>(1039)->isVisible());
    EXPECT_FALSE(Find<QPushButton>(1028)->isVisible());
    Select("中间频率");
    EXPECT_TRUE(Find<QLineEdit>(1030)->isVisible());
    EXPECT_FALSE(Find<QSlider>(1039)->isVisible());
    EXPECT_TRUE(Find<QPushButton>(1028)->isVisible());
    EXPECT_EQ(Find<QGroupBox>(1029)->title(), "中间频率");
    EXPECT_EQ(Find<QLineEdit>(1030)->text(), "146.00000");
    EXPECT_EQ(Find<QLineEdit>(1031)->text(), "146.00000");
    Select("静噪等级");
    EXPECT_FALSE(Find<QLineEdit>(1030)->isVisible());
    EXPECT_TRUE(Find<QSlider>(1039)->isVisible());
    EXPECT_TRUE(Find<QPushButton>(1038)->isVisible());
    EXPECT_EQ(Find<QGroupBox>(1029)->title(), "中间频率");  // the caption stays
    Select("退出");
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(TuningDialog, SliderValuesAndDefaultsPerItem) {
    Open();
    Select("静噪等级");
    Find<QSlider>(1039)->setValue(120);
    EXPECT_EQ(Find<QLabel>(1052)->text(), "当前位置:120");
    Select("发射功率");
    EXPECT_EQ(Find<QSlider>(1039)->value(), 0);
    QTest::mouseClick(Find<QPushButton>(1028), Qt::LeftButton);
    EXPECT_EQ(Find<QSlider>(1039)->value(), 47);
    EXPECT_EQ(Find<QLabel>(1052)->text(), "当前位置:47");
    Select("静噪等级");
    EXPECT_EQ(Find<QSlider>(1039)->value(), 120);
    QTest::mouseClick(Find<QPushButton>(1028), Qt::LeftButton);
    EXPECT_EQ(Find<QSlider>(1039)->value(), 160);
    Select("发射频率");
    QTest::mouseClick(Find<QPushButton>(1028), Qt::LeftButton);
    EXPECT_EQ(Find<QSlider>(1039)->value(), 91);
    Select("低压报警");
    QTest::mouseClick(Find<QPushButton>(1028), Qt::LeftButton);
    EXPECT_EQ(Find<QSlider>(1039)->value(), 38);
}

TEST_F(TuningDialog, KindSwitchingRefillsTheLists) {
    Open();
    Select("高端频率");
    EXPECT_EQ(ListTexts(1012).first(), "OFF");
    EXPECT_EQ(ListTexts(1012).last(), "254.1");
    EXPECT_EQ(ListTexts(1012).size(), 51);
    QTest::mouseClick(Find<QRadioButton>(1035), Qt::LeftButton);
    EXPECT_FALSE(Find<QRadioButton>(1034)->isChecked());
    EXPECT_EQ(ListTexts(1012).first(), "D023N");
    EXPECT_EQ(ListTexts(1012).last(), "D754I");
    EXPECT_EQ(ListTexts(1012).size(), 210);
    EXPECT_EQ(ListTexts(1013).first(), "OFF");  // the two sides are independent
    QTest::mouseClick(Find<QRadioButton>(1034), Qt::LeftButton);
    EXPECT_EQ(ListTexts(1012).first(), "OFF");
    EXPECT_EQ(ListTexts(1012).last(), "254.1");
    // An entry chosen, then the other kind: what is sent starts again at the
    // new list's first entry, as the list shows.
    auto* list = Find<QComboBox>(1012);
    list->setFocus();
    for (int i = 0; i < 3; ++i) QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentText(), "71.9");
    QTest::mouseClick(Find<QRadioButton>(1035), Qt::LeftButton);
    EXPECT_EQ(list->currentText(), "D023N");
    Select("静噪等级");
    EXPECT_EQ(dialog->findChild<QLabel*>("willSend")->text(),
              "将发送：高端频率 156.00000 / 156.00000 MHz, D023N / OFF");
}

TEST_F(TuningDialog, EnterNormalisesTheTypedFrequency) {
    Open();
    Select("高端频率");
    QLineEdit* rx = Find<QLineEdit>(1030);
    rx->setFocus();
    rx->selectAll();
    QTest::keyClicks(rx, "180");
    QTest::keyClick(rx, Qt::Key_Return);
    EXPECT_EQ(rx->text(), "156.00000");
    rx->selectAll();
    QTest::keyClicks(rx, "100");
    QTest::keyClick(rx, Qt::Key_Return);
    EXPECT_EQ(rx->text(), "136.00000");
    QTest::mouseClick(Find<QRadioButton>(1064), Qt::LeftButton);
    rx->selectAll();
    QTest::keyClicks(rx, "136.0160");
    QTest::keyClick(rx, Qt::Key_Return);
    EXPECT_EQ(rx->text(), "136.01875");
    // Stored into the set: shown again after another set.
    Select("低端频率");
    EXPECT_EQ(rx->text(), "136.00000");
    Select("高端频率");
    EXPECT_EQ(rx->text(), "136.01875");
    EXPECT_TRUE(Find<QRadioButton>(1064)->isChecked());
    QTest::mouseClick(Find<QPushButton>(1028), Qt::LeftButton);
    EXPECT_EQ(rx->text(), "156.00000");
    EXPECT_TRUE(Find<QRadioButton>(1063)->isChecked());
}

TEST_F(TuningDialog, RestoreWithNoPageShownSaysSo) {
    Open();
    tree->setCurrentItem(tree->topLevelItem(0));  // a root: no page
    Find<QPushButton>(1028)->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, " 没有可视信息");
}

TEST_F(TuningDialog, StartSendsTheChosenSetToTheRadio) {
    SimProcess sim({});
    Open("136 - 174MHz", QString::fromStdString(sim.Port()));
    Select("中间频率");
    QTest::mouseClick(Find<QRadioButton>(1035), Qt::LeftButton);
    Select("静噪等级");
    Find<QSlider>(1039)->setValue(160);
    QTest::mouseClick(Find<QRadioButton>(1041), Qt::LeftButton);  // "中端频率"
    QTest::mouseClick(Find<QPushButton>(1038), Qt::LeftButton);
    EXPECT_EQ(sim.NextLine(), "TUNE s F1 00 00 60 14 00 00 60 14 F2 00 00 00 00 FB 01 01 A0");
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->IsExchangeRunning(); }, 10000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "对讲机已收到!");
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);  // a success, not a warning
}

// With the keys alone: Space on Start sends, and once the radio has answered
// the keys are on Start again, so Space sends once more.
TEST_F(TuningDialog, TheKeysStayOnStartAfterASend) {
    SimProcess sim({});
    Open("136 - 174MHz", QString::fromStdString(sim.Port()));
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    Select("发射功率");
    auto* start = Find<QPushButton>(1038);
    for (int i = 0; i < 20 && dialog->focusWidget() != start; ++i) QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(dialog->focusWidget(), start);
    for (int send = 1; send <= 2; ++send) {
        QTest::keyClick(dialog->focusWidget(), Qt::Key_Space);
        const std::string line = sim.NextLine();
        EXPECT_EQ(line.rfind("TUNE ", 0), 0u) << line;
        ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->IsExchangeRunning(); }, 10000));
        ASSERT_EQ(messages.size(), static_cast<std::size_t>(send));
        EXPECT_EQ(dialog->focusWidget(), start) << send;
    }
}

TEST_F(TuningDialog, RadioThatAnswersWronglyGetsRetryOrCancel) {
    SimProcess sim({"--tuning-nak", "11"});
    Open("136 - 174MHz", QString::fromStdString(sim.Port()));
    Select("发射功率");
    QTest::mouseClick(Find<QPushButton>(1038), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !dialog->IsExchangeRunning(); }, 10000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, " 错误需延时再试\n对讲机拒绝了第 11 步");
    EXPECT_EQ(messages[0].buttons, Buttons::RetryCancel);
    EXPECT_FALSE(messages[0].cancelIsDefault);  // Enter answers Retry
}

TEST_F(TuningDialog, ToneListShowsFifteenEntriesAtATime) {
    Open();
    Select("高端频率");
    auto* list = Find<QComboBox>(1012);
    QTest::mouseClick(Find<QRadioButton>(1035), Qt::LeftButton);  // the DCS codes: a long list
    ASSERT_GT(list->count(), 100);
    QTest::mouseClick(list, Qt::LeftButton);
    QAbstractItemView* popup = list->view();
    ASSERT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }, 5000));
    const int rows = popup->viewport()->height() / popup->sizeHintForRow(0);
    EXPECT_GE(rows, 14);
    EXPECT_LE(rows, 16);
    list->hidePopup();
}

TEST_F(TuningDialog, ReadsInEnglish) {
    App()->SetLanguage(Lang::En);
    Open();
    EXPECT_EQ(dialog->windowTitle(), "OstrelTZ Online Tuning");
    QStringList roots;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) roots << tree->topLevelItem(i)->text(0);
    EXPECT_EQ(roots, QStringList({"Test frequencies", "Tuning items", "Exit"}));
    tree->setCurrentItem(tree->topLevelItem(0));
    Find<QPushButton>(1028)->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "Nothing to show");
    Select("Middle frequency");
    EXPECT_EQ(Find<QRadioButton>(1034)->text(), "CTCSS");
    EXPECT_EQ(Find<QRadioButton>(1035)->text(), "DCS");
    EXPECT_EQ(Find<QPushButton>(1028)->text(), "Restore defaults");
    Select("Squelch level");
    EXPECT_EQ(Find<QLabel>(1052)->text(), "Current value: 0");
}

TEST_F(TuningDialog, TheSetStartSendsIsNamedBesideIt) {
    Open();
    // The middle set set up, then the items page: the high set is still the one chosen.
    Select("中间频率");
    QLineEdit* rx = Find<QLineEdit>(1030);
    rx->selectAll();
    QTest::keyClicks(rx, "150");
    Select("静噪等级");
    auto* willSend = dialog->findChild<QLabel*>("willSend");
    ASSERT_NE(willSend, nullptr);
    EXPECT_TRUE(willSend->isVisible());
    EXPECT_EQ(willSend->text(), "将发送：高端频率 156.00000 / 156.00000 MHz, OFF / OFF");
    QTest::mouseClick(Find<QRadioButton>(1041), Qt::LeftButton);
    EXPECT_EQ(willSend->text(), "将发送：中端频率 150.00000 / 146.00000 MHz, OFF / OFF");
}
