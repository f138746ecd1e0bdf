// Writing a row of radios from the write window, one after another on the
// cable, against simulated radios on ptys.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QScreen>
#include <QTest>

#include "link/PortChecklist.h"
#include "link/ProgressDlg.h"
#include "link/WriteRow.h"
#include "link/WriteSessionPanel.h"
#include "res/ResourceIds.h"
#include "support/GuiFixture.h"
#include "support/SimProcess.h"

using namespace ids;

namespace {

class WriteSession : public GuiTest {
protected:
    CProgressDlg* Dialog() const { return View()->Progress(); }
    CWriteSessionPanel* Panel() const { return Dialog()->Session(); }
    // Waits for the radio now on the cable to be done with.
    bool WaitForRadios(std::size_t count) {
        return QTest::qWaitFor([&] { return Panel()->Log().Entries().size() == count && !View()->IsTransferRunning(); },
                               30000);
    }
    // The port chosen before the window opens.
    void Connect(const std::string& port) { View()->SetPort(QString::fromStdString(port)); }
    // Another radio: its port added with "其他端口…" and the last one's box
    // unchecked, with the mouse.
    void ChangeRadio(const std::string& from, const std::string& to) {
        fileAnswers = {QString::fromStdString(to)};
        QTest::mouseClick(Dialog()->PortList()->AddButton(), Qt::LeftButton);
        ClickBox(QString::fromStdString(from));
        EXPECT_EQ(Dialog()->Ports(), QStringList{QString::fromStdString(to)});
    }
    // A click on the box of `port` in the list of ports.
    void ClickBox(const QString& port) {
        QListWidget* list = Dialog()->PortList()->List();
        const auto found = list->findItems(port, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list->scrollToItem(found[0]);
        QStyleOptionViewItem option;
        option.initFrom(list->viewport());
        option.rect = list->visualItemRect(found[0]);
        option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
        const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box.center());
    }
    // Enter, wherever the focus is in the window.
    void PressEnter() {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && Dialog()->isAncestorOf(focus) ? focus : Dialog(), Qt::Key_Return);
    }
};

}  // namespace

TEST_F(WriteSession, ThreeRadiosOneAfterAnotherWithTheCountAndTheLog) {
    SimProcess sim({"--count", "3", "--save", Path("radio.sin").toStdString(), "--radio", "2", "--no-write-ack", "50"},
                   3);
    ASSERT_EQ(sim.Ports().size(), 3u);
    SetCell(1, 1, "146.00000");
    Connect(sim.Ports()[0]);
    Trigger(ID_WRITE);
    ASSERT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Panel()->Continuous()->text(), "连续写频");
    EXPECT_FALSE(Panel()->Entries()->isVisible());
    // A click on the box itself (the widget reaches further than its text).
    QTest::mouseClick(Panel()->Continuous(), Qt::LeftButton, {}, QPoint(6, Panel()->Continuous()->height() / 2));
    ASSERT_TRUE(Panel()->IsOn());
    EXPECT_TRUE(Panel()->Entries()->isVisible());
    EXPECT_EQ(Panel()->Count()->text(), "已写 0 台");

    // The first radio: the window stays open for the next one.
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    EXPECT_FALSE(Panel()->Continuous()->isEnabled());
    ASSERT_TRUE(WaitForRadios(1));
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_TRUE(Dialog()->StartButton()->isEnabled());
    EXPECT_EQ(Panel()->Count()->text(), "已写 1 台");
    EXPECT_EQ(Dialog()->Status()->text(), "完成");
    EXPECT_TRUE(messages.empty());

    // The second radio, started with Enter, stops answering: its box, its
    // line in the log, and the session goes on.
    ChangeRadio(sim.Ports()[0], sim.Ports()[1]);
    PressEnter();
    ASSERT_TRUE(WaitForRadios(2));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith(" 接收出错中断，请重试\n"));
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Panel()->Count()->text(), "已写 1 台");
    EXPECT_EQ(Dialog()->Status()->text(), "接收出错中断");

    ChangeRadio(sim.Ports()[1], sim.Ports()[2]);
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForRadios(3));
    EXPECT_EQ(Panel()->Count()->text(), "已写 2 台");
    ASSERT_EQ(Panel()->Entries()->count(), 3);
    const QString lines[] = {Panel()->Entries()->item(0)->text(), Panel()->Entries()->item(1)->text(),
                             Panel()->Entries()->item(2)->text()};
    EXPECT_TRUE(lines[0].endsWith(QString::fromStdString("  " + sim.Ports()[0] + "  识别码 0xFF  完成  264 块")))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QString::fromStdString("  " + sim.Ports()[1] + "  识别码 0xFF  接收出错中断  50 块")))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(QString::fromStdString(sim.Ports()[2]) + "  识别码 0xFF  完成"));

    // The log saved as CSV.
    fileAnswers = {Path("log.csv")};
    QTest::mouseClick(Panel()->SaveButton(), Qt::LeftButton);
    ASSERT_EQ(fileRequests.size(), 3u);  // after the two ports asked for
    EXPECT_EQ(fileRequests.back().kind, FileRequestKind::Save);
    EXPECT_TRUE(fileRequests.back().csv);
    EXPECT_EQ(fileRequests.back().proposedName, "写频记录.csv");
    QFile csv(Path("log.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    const QString text = QString::fromUtf8(bytes);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF")) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("时间,端口,识别码,结果,块数\r\n"))) << text.toStdString();
    EXPECT_EQ(text.count("\r\n"), 4);
    EXPECT_TRUE(text.contains(QString::fromStdString("," + sim.Ports()[1] + ",0xFF,接收出错中断,50\r\n")))
        << text.toStdString();

    // 取消 ends the session; the radios written hold the document.
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(Dialog()->isVisible());
    sim.Stop();
    EXPECT_EQ(Load(Path("radio.sin.1")), View()->ImageForSave());
    EXPECT_EQ(Load(Path("radio.sin.3")), View()->ImageForSave());
    EXPECT_NE(Load(Path("radio.sin.2")), View()->ImageForSave());
}

// Placed low on a small screen, the window grows as the box is ticked and
// moves up so that all of it, the log's buttons too, stays in sight.
TEST_F(WriteSession, TheWindowGrownByTheBoxStaysOnTheScreen) {
    Connect("/dev/null");
    Trigger(ID_WRITE);
    ASSERT_TRUE(Dialog()->isVisible());
    const QRect room = Dialog()->screen()->availableGeometry();
    Dialog()->move(Dialog()->x(), room.bottom() + 1 - Dialog()->frameGeometry().height());
    const QSize before = Dialog()->size();
    QTest::mouseClick(Panel()->Continuous(), Qt::LeftButton, {}, QPoint(6, Panel()->Continuous()->height() / 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dialog()->height() > before.height(); }, 5000));
    EXPECT_TRUE(room.contains(Dialog()->frameGeometry())) << Dialog()->frameGeometry().bottom() << " " << room.bottom();
    QTest::keyClick(Dialog(), Qt::Key_Escape);
    EXPECT_FALSE(Dialog()->isVisible());
}

TEST_F(WriteSession, WithoutItTheWindowClosesAfterTheRadioAndAReadNeverOffersIt) {
    SimProcess sim({});
    Connect(sim.Port());
    Trigger(ID_READ);
    EXPECT_FALSE(Panel()->isVisible());
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    Trigger(ID_WRITE);
    EXPECT_TRUE(Panel()->isVisible());
    EXPECT_FALSE(Panel()->IsOn());
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Dialog()->isVisible() && !View()->IsTransferRunning(); }, 30000));
    EXPECT_TRUE(messages.empty());
}

TEST_F(WriteSession, SeveralRadiosAtOnceEachOnItsOwnRow) {
    // Radios that answer each frame 10 ms late, so that one can be stopped
    // halfway (each answer still comes whole: a radio paced byte by byte may be
    // held up mid-answer on a busy machine); the third is of another type.
    SimProcess sim({"--count", "3", "--answer-delay", "10", "--save", Path("radio.sin").toStdString(), "--radio", "3",
                    "--type", "0x42"},
                   3);
    ASSERT_EQ(sim.Ports().size(), 3u);
    const QString ports[] = {QString::fromStdString(sim.Ports()[0]), QString::fromStdString(sim.Ports()[1]),
                             QString::fromStdString(sim.Ports()[2])};
    SetCell(1, 1, "146.00000");
    Connect(sim.Ports()[0]);
    Trigger(ID_WRITE);
    ASSERT_TRUE(Dialog()->PortList()->isVisible());
    EXPECT_EQ(Dialog()->Ports(), QStringList{ports[0]});
    fileAnswers = {ports[1], ports[2]};
    QTest::mouseClick(Dialog()->PortList()->AddButton(), Qt::LeftButton);
    QTest::mouseClick(Dialog()->PortList()->AddButton(), Qt::LeftButton);
    EXPECT_EQ(Dialog()->Ports(), (QStringList{ports[0], ports[1], ports[2]}));

    answers = {Answer::Ok, Answer::Ok};  // overwrite the other type; yes, stop the second radio
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_EQ(Dialog()->Rows().size(), 3);
    EXPECT_TRUE(View()->IsTransferRunning());
    // Only the radio of another type is asked, and the box says which it is.
    ASSERT_TRUE(QTest::qWaitFor([this] { return !messages.empty(); }, 30000));
    EXPECT_EQ(messages[0].text, ports[2] + "\n 对讲机的类型与你所设置的不一样，若要覆盖请按确定按钮");
    CWriteRow* second = Dialog()->Rows()[1];
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->Bar()->value() >= 20; }, 30000));
    QTest::mouseClick(second->CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View()->IsTransferRunning(); }, 60000));

    // The other two went on to the end.
    EXPECT_EQ(Dialog()->Rows()[0]->Status()->text(), "完成");
    EXPECT_EQ(second->Status()->text(), "已取消");
    EXPECT_EQ(Dialog()->Rows()[2]->Status()->text(), "完成");
    int typeQuestions = 0;
    for (const MessageRequest& m : messages) typeQuestions += m.text.contains("对讲机的类型与你所设置的不一样");
    EXPECT_EQ(typeQuestions, 1);
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, ports[1] + "\n中断写频会使对讲机中的数据不完整，确定中断吗？");
    EXPECT_EQ(Panel()->Count()->text(), "已写 2 台");
    EXPECT_EQ(Panel()->Entries()->count(), 3);
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_TRUE(Dialog()->StartButton()->isEnabled());
    sim.Stop();
    EXPECT_EQ(Load(Path("radio.sin.1")), View()->ImageForSave());
    EXPECT_NE(Load(Path("radio.sin.2")), View()->ImageForSave());
    EXPECT_EQ(Load(Path("radio.sin.3")), View()->ImageForSave());
}

TEST_F(WriteSession, OneRadioAfterARoundOfSeveralShowsOnlyItsOwnProgress) {
    SimProcess sim({"--count", "2", "--answer-delay", "5"}, 2);
    ASSERT_EQ(sim.Ports().size(), 2u);
    const QString ports[] = {QString::fromStdString(sim.Ports()[0]), QString::fromStdString(sim.Ports()[1])};
    Connect(sim.Ports()[0]);
    Trigger(ID_WRITE);
    fileAnswers = {ports[1]};
    QTest::mouseClick(Dialog()->PortList()->AddButton(), Qt::LeftButton);
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_EQ(Dialog()->Rows().size(), 2);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View()->IsTransferRunning(); }, 60000));
    // The second radio's box unticked: the next round is the first radio's alone.
    ClickBox(ports[1]);
    ASSERT_EQ(Dialog()->Ports(), QStringList{ports[0]});
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    EXPECT_TRUE(Dialog()->Rows().isEmpty());
    EXPECT_TRUE(Dialog()->Bar()->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() > 0; }, 30000));
    ASSERT_TRUE(WaitForRadios(3));
}
