// Writing a row of radios from the write window, one after another on the
// cable, against simulated radios on ptys.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

#include "link/ProgressDlg.h"
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
    // The user changes radios on the cable.
    void Connect(const std::string& port) { View()->SetPort(QString::fromStdString(port)); }
    // Enter, wherever the focus is in the window.
    void PressEnter() {
        QWidget* focus = QApplication::focusWidget();
        QTest::keyClick(focus && Dialog()->isAncestorOf(focus) ? focus : Dialog(), Qt::Key_Return);
    }
};

}  // namespace

TEST_F(WriteSession, ThreeRadiosOneAfterAnotherWithTheCountAndTheLog) {
    SimProcess sim({"--count", "3", "--save", Path("radio.sin").toStdString(), "--radio", "2", "--no-write-ack", "50"}, 3);
    ASSERT_EQ(sim.Ports().size(), 3u);
    SetCell(1, 1, "146.00000");
    Connect(sim.Ports()[0]);
    Trigger(ID_WRITE);
    ASSERT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Panel()->Continuous()->text(), "连续写频");
    EXPECT_FALSE(Panel()->Entries()->isVisible());
    QTest::mouseClick(Panel()->Continuous(), Qt::LeftButton);
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
    Connect(sim.Ports()[1]);
    PressEnter();
    ASSERT_TRUE(WaitForRadios(2));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith(" 接收出错中断，请重试\n"));
    EXPECT_TRUE(Dialog()->isVisible());
    EXPECT_EQ(Panel()->Count()->text(), "已写 1 台");
    EXPECT_EQ(Dialog()->Status()->text(), "接收出错中断");

    Connect(sim.Ports()[2]);
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForRadios(3));
    EXPECT_EQ(Panel()->Count()->text(), "已写 2 台");
    ASSERT_EQ(Panel()->Entries()->count(), 3);
    const QString lines[] = {Panel()->Entries()->item(0)->text(), Panel()->Entries()->item(1)->text(),
                             Panel()->Entries()->item(2)->text()};
    EXPECT_TRUE(lines[0].endsWith(QString::fromStdString("  " + sim.Ports()[0] + "  识别码 0xFF  完成  264 块"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QString::fromStdString("  " + sim.Ports()[1] + "  识别码 0xFF  接收出错中断  50 块"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(QString::fromStdString(sim.Ports()[2]) + "  识别码 0xFF  完成"));

    // The log saved as CSV.
    fileAnswers = {Path("log.csv")};
    QTest::mouseClick(Panel()->SaveButton(), Qt::LeftButton);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_TRUE(fileRequests[0].csv);
    EXPECT_EQ(fileRequests[0].proposedName, "写频记录.csv");
    QFile csv(Path("log.csv"));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(csv.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("\uFEFF时间,端口,识别码,结果,块数\r\n"))) << text.toStdString();
    EXPECT_EQ(text.count("\r\n"), 4);
    EXPECT_TRUE(text.contains(QString::fromStdString("," + sim.Ports()[1] + ",0xFF,接收出错中断,50\r\n"))) << text.toStdString();

    // 取消 ends the session; the radios written hold the document.
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(Dialog()->isVisible());
    sim.Stop();
    EXPECT_EQ(Load(Path("radio.sin.1")), View()->ImageForSave());
    EXPECT_EQ(Load(Path("radio.sin.3")), View()->ImageForSave());
    EXPECT_NE(Load(Path("radio.sin.2")), View()->ImageForSave());
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
