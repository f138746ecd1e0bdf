// Read and write from the window against the simulated radio on a pty.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QMessageBox>
#include <QPointer>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <random>

#include <QCheckBox>

#include "history/RadioHistory.h"
#include "history/UserHistory.h"
#include "link/CloneEngine.h"
#include "link/PortChecklist.h"
#include "link/ProgressDlg.h"
#include "link/WriteSessionPanel.h"
#include "link/QtSerialLink.h"
#include "res/ResourceIds.h"
#include "support/GuiFixture.h"
#include "support/SimProcess.h"
#include "support/WithModal.h"

using namespace ids;

namespace {

class Transfer : public GuiTest {
protected:
    CProgressDlg* Dialog() const { return View()->Progress(); }
    void Start(int command) {
        Trigger(command);
        ASSERT_TRUE(Dialog()->isVisible());
        QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    }
    bool WaitForEnd(int ms = 30000) {
        return QTest::qWaitFor([this] { return !Dialog()->isVisible() && !View()->IsTransferRunning(); }, ms);
    }
    static RadioImage RadioWithChannels() {
        std::mt19937 rng(3);
        RadioImage image = NewDocumentImage();
        for (int n = 1; n <= 128; n += 9) {
            PlainChannelTable t;
            ChannelTexts texts = {"145.12500", "146.02500", "67.0", "D023N", "宽", "是", "高", "DTMF", "开", "载波"};
            ChannelRecord record;
            record.fill(0xFF);
            EncodeChannelRecord(texts, record);
            std::copy(record.begin(), record.end(), image.begin() + static_cast<std::ptrdiff_t>(ChannelOffset(n)));
        }
        image[addr::kBand] = 0xEF;
        image[addr::kModel] = 0x39;
        image[addr::kRadioType] = 0x42;
        for (std::size_t i = 0x820; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(rng());
        return image;
    }
};

}  // namespace

TEST_F(Transfer, ReadFillsTheGridFromTheRadio) {
    const RadioImage radio = RadioWithChannels();
    SimProcess sim({"--image", SaveImage("radio.sin", radio).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Trigger(ID_READ);
    EXPECT_EQ(Dialog()->windowTitle(), "读频进度");
    EXPECT_EQ(Dialog()->Status()->text(), "未开始");
    EXPECT_EQ(Dialog()->StartButton()->text(), "开始");
    EXPECT_EQ(Dialog()->CancelButton()->text(), "取消");
    EXPECT_EQ(Dialog()->Bar()->maximum(), 264);
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    EXPECT_FALSE(Frame()->Action(ID_FILE_OPEN)->isEnabled());
    Trigger(ID_WRITE);  // refused while the read runs
    EXPECT_EQ(Dialog()->windowTitle(), "读频进度");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Dialog()->Status()->text(), "262");
    // What a save would write: the radio's bytes with the form's selections pulled in.
    PlainChannelTable table;
    UpdateGridFromImage(radio, table);
    RadioImage saved = radio;
    UpdateImageFromGrid(table, saved);
    EXPECT_EQ(View()->ImageForSave(), saved);
    EXPECT_EQ(Grid()->TextMatrix(10, 1), "145.12500");
    EXPECT_EQ(Grid()->TextMatrix(10, 4), "D023N");
    EXPECT_EQ(Grid()->TextMatrix(2, 1), "");
    EXPECT_EQ(View()->m_cbBand->currentText(), "136 - 174MHz");
    EXPECT_EQ(View()->m_cbModel->currentText(), "OST - 102");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_TRUE(Frame()->Action(ID_FILE_OPEN)->isEnabled());
    // The end of the read is told in the status bar, with the port and the time.
    const QRegularExpression done("^读频完成：" + QRegularExpression::escape(View()->Port()) +
                                  "，用时 [0-9]+\\.[0-9] 秒$");
    EXPECT_TRUE(done.match(Frame()->statusBar()->currentMessage()).hasMatch())
        << Frame()->statusBar()->currentMessage().toStdString();
}

TEST_F(Transfer, ReadIsOneUndoableStepAndEditsWaitForIt) {
    SimProcess sim({"--image", SaveImage("radio.sin", RadioWithChannels()).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(1, 1, "146.00000");
    const RadioImage mine = View()->ImageForSave();
    Start(ID_READ);
    for (int id : {ID_EDIT_UNDO, ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_CHANNEL_INSERT, ID_SET_FIELD})
        EXPECT_FALSE(Frame()->Action(id)->isEnabled()) << id;
    EXPECT_TRUE(Frame()->Action(ID_EDIT_COPY)->isEnabled());
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Grid()->TextMatrix(10, 1), "145.12500");
    EXPECT_TRUE(Frame()->Action(ID_EDIT_PASTE)->isEnabled());
    Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(View()->ImageForSave(), mine);
    EXPECT_EQ(Grid()->TextMatrix(1, 1), "146.00000");
    Trigger(ID_EDIT_REDO);
    EXPECT_EQ(Grid()->TextMatrix(10, 1), "145.12500");
    EXPECT_EQ(View()->m_cbModel->currentText(), "OST - 102");
}

TEST_F(Transfer, WriteAfterEditsLeavesTheRadioEqualToTheSavedFile) {
    SimProcess sim({"--save", Path("radio-after.sin").toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(1, 1, "146.00000");
    SetCell(1, 2, "146.50000");
    SetCell(1, 9, "开");
    View()->m_cbPower->setCurrentIndex(4);
    Start(ID_WRITE);
    EXPECT_EQ(Dialog()->windowTitle(), "写频进度");
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Dialog()->Status()->text(), "264");
    EXPECT_TRUE(Frame()->statusBar()->currentMessage().startsWith("写频完成：" + View()->Port() + "，用时 "));
    fileAnswers = {Path("mine.sin")};
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "已保存 " + QDir::toNativeSeparators(Path("mine.sin")));
    // The first change after the save takes the word away: it no longer holds.
    SetCell(2, 1, "147.00000");
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "");
    sim.Stop();
    EXPECT_EQ(Load(Path("radio-after.sin")), Load(Path("mine.sin")));
    EXPECT_EQ(Load(Path("mine.sin"))[addr::kPowerLevel], 4);
}

// What the status bar says goes once it no longer holds: a transfer's end
// when the next transfer starts, "已保存…" when another document comes.
TEST_F(Transfer, TheStatusBarsWordGoesWhenItNoLongerHolds) {
    SimProcess sim({});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(1, 1, "146.00000");
    Start(ID_WRITE);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(Frame()->statusBar()->currentMessage().startsWith("写频完成："));
    Start(ID_WRITE);
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "");
    ASSERT_TRUE(WaitForEnd());
    fileAnswers = {Path("mine.sin")};
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "已保存 " + QDir::toNativeSeparators(Path("mine.sin")));
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "");
    EXPECT_TRUE(messages.empty());
}

TEST_F(Transfer, OtherRadioTypeIsAskedAboutAndCancelWritesNothing) {
    SimProcess sim({"--type", "0x42", "--save", Path("radio-after.sin").toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(1, 1, "146.00000");
    Start(ID_WRITE);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, " 对讲机的类型与你所设置的不一样，若要覆盖请按确定按钮");
    EXPECT_EQ(messages[0].buttons, Buttons::OkCancel);
    EXPECT_EQ(messages[0].caption, "OstrelTZ写频软件");
    sim.Stop();
    EXPECT_EQ(Load(Path("radio-after.sin")), NewDocumentImage());
}

TEST_F(Transfer, CancelMidReadLeavesGridAndImageUnchanged) {
    SimProcess sim({"--image", SaveImage("radio.sin", RadioWithChannels()).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(3, 1, "147.00000");
    const RadioImage before = View()->ImageForSave();
    Start(ID_READ);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 20; }, 20000));
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(Dialog()->m_bCancel);
    ASSERT_TRUE(WaitForEnd(5000));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Frame()->statusBar()->currentMessage(), "读频已取消");
    EXPECT_EQ(View()->ImageForSave(), before);
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "147.00000");
    EXPECT_EQ(Grid()->TextMatrix(10, 1), "");
    // The edit before the read is still the last step.
    Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(Transfer, CancelBeforeStartOpensNoPort) {
    Trigger(ID_READ);
    ASSERT_TRUE(Dialog()->isVisible());
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(Dialog()->isVisible());
    EXPECT_FALSE(View()->IsTransferRunning());
    EXPECT_TRUE(messages.empty());
}

TEST_F(Transfer, PortThatCannotBeOpened) {
    View()->SetPort(Path("no-such-device"));
    Start(ID_READ);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "无法打开串口，请检查该设备是否正常，或是否被占用\n找不到串口 " +
                                    Path("no-such-device") + "：请检查连接线是否已插好。");
}

TEST_F(Transfer, APortHeldByAnotherProgramIsToldApartFromAPermissionProblem) {
    SimProcess sim({});
    QtSerialLink holder;
    ASSERT_EQ(holder.Open(sim.Port(), kCloneTimeouts), OpenError::None);
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_READ);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QString::fromStdString("无法打开串口，请检查该设备是否正常，或是否被占用\n串口 " +
                                                       sim.Port() + " 正被其他程序使用（进程 " +
                                                       std::to_string(::getpid()) + "）：请先关闭那个程序。"));
}

TEST_F(Transfer, CancelMidWriteSaysWhatTheRadioHolds) {
    SimProcess sim({});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 20; }, 20000));
    answers = {Answer::Ok};  // yes, stop the write
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForEnd(5000));
    const std::string report = sim.StopAndReport();
    const int stored = std::atoi(report.c_str() + report.find("written=") + 8);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].text, QString::fromStdString(StoppedWriteText(stored)));
    EXPECT_TRUE(messages[1].text.contains("再次写频即可补全"));
}

TEST_F(Transfer, WindowsDestroyedMidWriteStopTheRadioThreadAndFreeThePort) {
    SimProcess sim({});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 20; }, 20000));
    App()->ExitInstance();  // the program's windows go while the write runs
    // The write stopped without a box over a window that is gone, and its port was closed.
    EXPECT_TRUE(messages.empty());
    QtSerialLink again;
    EXPECT_EQ(again.Open(sim.Port(), kCloneTimeouts), OpenError::None);
    const std::string report = sim.StopAndReport();
    EXPECT_LT(std::atoi(report.c_str() + report.find("written=") + 8), kBlockCount) << report;
}

TEST_F(Transfer, SilentRadioEndsWithRetryOrCancel) {
    SimProcess sim({"--silent"});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_READ);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Dialog()->Status()->text() == "正在等待对讲机响应...."; }, 5000));
    ASSERT_TRUE(WaitForEnd(40000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "通讯错误，请检查连接线是否接触良好或对讲机电源是否开启");
    EXPECT_EQ(messages[0].buttons, Buttons::RetryCancel);
}

TEST_F(Transfer, PortMenuChecksTheChosenPort) {
    App()->SetPort("/dev/pts/999");
    EXPECT_FALSE(Frame()->Action(ID_PORT_COM1)->isChecked());
    QAction* other = Frame()->findChild<QAction*>("otherPort");
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->isChecked());
    fileAnswers = {"/dev/ttyACM0"};
    other->trigger();
    EXPECT_EQ(View()->Port(), "/dev/ttyACM0");
    Trigger(ID_PORT_COM2);
    EXPECT_EQ(View()->Port(), "COM2");
    EXPECT_TRUE(Frame()->Action(ID_PORT_COM2)->isChecked());
    EXPECT_FALSE(other->isChecked());
}

TEST_F(Transfer, LeavingOrMovingTheWindowInterruptsARead) {
    SimProcess sim({"--image", SaveImage("radio.sin", RadioWithChannels()).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    const RadioImage before = View()->ImageForSave();
    // The notice comes once the read has stopped: nothing ending the read takes it back.
    std::vector<bool> afterTheEnd;
    Messenger::SetMessageHandler([&](const MessageRequest& r) {
        messages.push_back(r);
        afterTheEnd.push_back(!Dialog()->isVisible());
        return Answer::Ok;
    });
    Start(ID_READ);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    Frame()->activateWindow();
    ASSERT_TRUE(WaitForEnd(5000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "通讯已被中断,请重新开始");
    EXPECT_TRUE(afterTheEnd[0]);
    EXPECT_EQ(View()->ImageForSave(), before);

    messages.clear();
    Start(ID_READ);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    Dialog()->move(Dialog()->pos() + QPoint(30, 0));
    ASSERT_TRUE(WaitForEnd(5000));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "通讯已被中断,请重新开始");
    EXPECT_TRUE(afterTheEnd[1]);
}

TEST_F(Transfer, HelpAskedForOverAReadLetsItGoOn) {
    const RadioImage radio = RadioWithChannels();
    SimProcess sim({"--image", SaveImage("radio.sin", radio).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_READ);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    WithModal([this] { QTest::keyClick(Dialog(), Qt::Key_F1); },
              [this](QWidget* help) {
                  EXPECT_EQ(help->parentWidget(), Dialog());
                  const int shown = Dialog()->Bar()->value();
                  EXPECT_TRUE(QTest::qWaitFor(
                      [&] { return Dialog()->Bar()->value() > shown + 5 || !Dialog()->isVisible(); }, 20000));
              });
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Grid()->TextMatrix(10, 1), "145.12500");
}

TEST_F(Transfer, AWriteGoesOnWhenTheMainWindowIsClickedOrTheWindowMoved) {
    SimProcess sim({"--save", Path("radio-after.sin").toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(1, 1, "146.00000");
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    Frame()->activateWindow();
    QTest::mouseClick(Frame()->MessagePane(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Dialog()->isActiveWindow(); }, 5000));
    Dialog()->move(Dialog()->pos() + QPoint(30, 0));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Dialog()->Status()->text(), "264");
    sim.Stop();
    EXPECT_EQ(Load(Path("radio-after.sin")), View()->ImageForSave());
}

// A file dropped on the main window while a write runs is not taken: the
// document being written stays the one shown.
TEST_F(Transfer, AFileDroppedDuringAWriteIsNotOpened) {
    SimProcess sim({"--save", Path("radio-after.sin").toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(1, 1, "146.00000");
    const QString other = SaveImage("other.sin", Load(QStringLiteral(OSTRELTZ_SAMPLE)));
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    const QPoint at = Grid()->mapTo(Frame(), Grid()->rect().center());
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &drop);
    EXPECT_EQ(Grid()->TextMatrix(1, 1), QStringLiteral("146.00000"));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_TRUE(messages.empty());
    sim.Stop();
    EXPECT_EQ(Load(Path("radio-after.sin")), View()->ImageForSave());

    // Once the write is over, the same drop opens the file (the edits it
    // wrote are let go when asked).
    answers = {Answer::Discard};
    QDragEnterEvent again(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &again);
    EXPECT_TRUE(again.isAccepted());
    QDropEvent dropAgain(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(Frame(), &dropAgain);
    EXPECT_EQ(Grid()->TextMatrix(1, 1), QStringLiteral("145.52000"));
}

TEST_F(Transfer, AWriteIsStoppedOnlyAfterTheQuestionIsConfirmed) {
    SimProcess sim({"--save", Path("radio-after.sin").toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    answers = {Answer::Cancel};
    Dialog()->close();  // the close box
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "中断写频会使对讲机中的数据不完整，确定中断吗？");
    EXPECT_EQ(messages[0].buttons, Buttons::OkCancel);
    EXPECT_TRUE(messages[0].cancelIsDefault);
    EXPECT_FALSE(Dialog()->m_bCancel);
    EXPECT_TRUE(Dialog()->isVisible());
    answers = {Answer::Ok};
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_TRUE(Dialog()->m_bCancel);
    ASSERT_TRUE(WaitForEnd(5000));
    EXPECT_LT(Dialog()->Status()->text().toInt(), 264);
    EXPECT_FALSE(Frame()->statusBar()->currentMessage().startsWith("写频完成"));
}

TEST_F(Transfer, AWriteStillAwaitingTheRadioStopsWithoutAQuestion) {
    SimProcess sim({"--silent"});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Runner().IsRunning(); }, 5000));
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);
    EXPECT_TRUE(messages.empty());  // nothing written yet: nothing to ask about
    EXPECT_TRUE(Dialog()->m_bCancel);
    ASSERT_TRUE(WaitForEnd(5000));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Dialog()->Bar()->value(), 0);
}

TEST_F(Transfer, StoppingTheBackupBeforeAWriteAsksNothingAndWritesNothing) {
    SimProcess sim({"--answer-delay", "10"});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Trigger(ID_WRITE);
    if (!Dialog()->BackupBox()->isChecked())
        QTest::mouseClick(Dialog()->BackupBox(), Qt::LeftButton, {}, QPoint(8, Dialog()->BackupBox()->height() / 2));
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    ASSERT_EQ(Dialog()->Phase()->text(), "第 1 步（共 2 步）：读出对讲机数据备份");
    QTest::keyClick(Dialog(), Qt::Key_Escape);
    // Only the radio is being read: nothing to ask about, it stops at once.
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(Dialog()->m_bCancel);
    ASSERT_TRUE(WaitForEnd(10000));
    for (const MessageRequest& m : messages) EXPECT_NE(m.text, "中断写频会使对讲机中的数据不完整，确定中断吗？");
    EXPECT_NE(sim.StopAndReport().find(" written=0"), std::string::npos);
}

TEST_F(Transfer, TheStopQuestionIsWithdrawnWhenTheWriteEndsWhileItIsShown) {
    SimProcess sim({"--save", Path("radio-after.sin").toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    SetCell(1, 1, "146.00000");
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    // The real box this time: nobody answers it while the write runs on.
    Messenger::SetMessageHandler({});
    QPointer<QWidget> question;
    QString asked;
    QTimer::singleShot(0, [&] {
        question = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(question.data())) asked = box->text();
    });
    // However the test goes, no box is left open.
    QTimer::singleShot(60000, [] {
        if (QWidget* box = QApplication::activeModalWidget()) box->close();
    });
    QTest::mouseClick(Dialog()->CancelButton(), Qt::LeftButton);  // returns once the box is gone
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(asked, "中断写频会使对讲机中的数据不完整，确定中断吗？");
    EXPECT_TRUE(question.isNull());  // shown, then closed by the write's end
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_FALSE(Dialog()->m_bCancel);
    EXPECT_EQ(Dialog()->Status()->text(), "264");
    EXPECT_TRUE(Frame()->statusBar()->currentMessage().startsWith("写频完成"))
        << Frame()->statusBar()->currentMessage().toStdString();
    sim.Stop();
    EXPECT_EQ(Load(Path("radio-after.sin")), View()->ImageForSave());
}

TEST_F(Transfer, ExitDuringATransferSaysSoOrAsksToStopTheWrite) {
    SimProcess sim({"--image", SaveImage("radio.sin", RadioWithChannels()).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Start(ID_READ);
    Trigger(ID_APP_EXIT);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "正在与对讲机传输数据：请等传输结束，或先在进度窗口中取消。");
    EXPECT_TRUE(Frame()->isVisible());
    ASSERT_TRUE(WaitForEnd());
    messages.clear();
    // A write asks the stop question; confirmed, the window closes once the write has stopped.
    Start(ID_WRITE);
    ASSERT_TRUE(QTest::qWaitFor([this] { return Dialog()->Bar()->value() >= 5; }, 20000));
    answers = {Answer::Ok, Answer::Ok, Answer::Discard};
    Trigger(ID_APP_EXIT);
    ASSERT_GE(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "中断写频会使对讲机中的数据不完整，确定中断吗？");
    EXPECT_TRUE(Dialog()->m_bCancel);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Frame()->isVisible(); }, 20000));
}

TEST_F(Transfer, TabWalksTheWriteWindowFromTopToBottom) {
    Trigger(ID_WRITE);
    Dialog()->activateWindow();
    Dialog()->BackupBox()->setFocus();
    QStringList walked;
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(Dialog()->focusWidget(), Qt::Key_Tab);
        walked << Dialog()->focusWidget()->objectName();
    }
    EXPECT_EQ(walked, QStringList({"writePorts", "addWritePort", "continuousWrite"}));
    QTest::keyClick(Dialog(), Qt::Key_Escape);
}

TEST_F(Transfer, ABackupBeforeAWriteIsKeptAndAFailedOneWritesNothing) {
    FolderHistoryStore store(UserHistoryFolder());
    for (const std::string& name : store.Names()) store.Remove(name);
    const RadioImage radio = RadioWithChannels();
    const QString radioFile = SaveImage("radio.sin", radio);
    {
        // The backup's read stops at block 3: the radio keeps every byte.
        SimProcess sim({"--image", radioFile.toStdString(), "--short-reply", "3:5"});
        View()->SetPort(QString::fromStdString(sim.Port()));
        Trigger(ID_WRITE);
        ASSERT_TRUE(Dialog()->BackupBox()->isVisible());
        EXPECT_EQ(Dialog()->BackupBox()->text(), "写频前先读出对讲机数据备份");
        EXPECT_FALSE(Dialog()->BackupBox()->isChecked());
        QTest::mouseClick(Dialog()->BackupBox(), Qt::LeftButton, {}, QPoint(8, Dialog()->BackupBox()->height() / 2));
        QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
        ASSERT_TRUE(WaitForEnd());
        EXPECT_NE(sim.StopAndReport().find(" written=0"), std::string::npos);
        QStringList texts;
        for (const MessageRequest& m : messages) texts << m.text;
        EXPECT_TRUE(texts.contains("备份没有完成，没有写入任何数据。")) << texts.join('\n').toStdString();
        EXPECT_TRUE(RadioHistory(store).List().empty());
    }
    messages.clear();
    answers = {Answer::Ok};  // the new document's type differs from the radio's: overwrite
    // The backup was asked for: it is kept with the history switched off too.
    SetHistoryEnabled(false);
    SimProcess sim({"--image", radioFile.toStdString(), "--save", Path("after.sin").toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Trigger(ID_WRITE);
    ASSERT_TRUE(Dialog()->BackupBox()->isChecked());  // as chosen before
    // The line of the steps has its place before the first step shows.
    const int height = Dialog()->height();
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(Dialog()->Phase()->text(), "第 2 步（共 2 步）：写频");
    EXPECT_EQ(Dialog()->height(), height);
    sim.Stop();
    EXPECT_EQ(Load(Path("after.sin")), View()->ImageForSave());
    SetHistoryEnabled(true);
    const auto entries = RadioHistory(store).List();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_FALSE(entries[0].write);
    EXPECT_EQ(RadioHistory(store).Image(entries[0].name), radio);
}

// A transfer that finished stays finished when its copy cannot be kept: the
// person is told so once the end is shown, as a report, not a warning; of
// several radios written at once, each box names its radio, and each
// radio's end is in the log at the time it ended.
TEST_F(Transfer, ATransferWhoseCopyCannotBeKeptStillFinishesAndSaysWhy) {
    const QString folder = QString::fromStdString(UserHistoryFolder());
    QDir(folder).removeRecursively();
    QDir().mkpath(QFileInfo(folder).path());
    {
        QFile file(folder);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const RadioImage radio = RadioWithChannels();
    SimProcess sim({"--image", SaveImage("radio.sin", radio).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    QString gridWhenTold, statusWhenTold;
    Messenger::SetMessageHandler([&](const MessageRequest& r) {
        messages.push_back(r);
        gridWhenTold = Grid()->TextMatrix(10, 1);
        statusWhenTold = Frame()->statusBar()->currentMessage();
        return Answer::Ok;
    });
    Start(ID_READ);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.startsWith("这次的数据没有存入历史记录：")) << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains("路径中有一段是文件，不是文件夹")) << messages[0].text.toStdString();
    EXPECT_EQ(messages[0].icon, MessageIcon::Information);
    EXPECT_EQ(gridWhenTold, "145.12500");
    EXPECT_TRUE(statusWhenTold.startsWith("读频完成：")) << statusWhenTold.toStdString();

    messages.clear();
    SimProcess two({"--count", "2", "--type", "0x42"}, 2);
    const QStringList ports = {QString::fromStdString(two.Ports().at(0)), QString::fromStdString(two.Ports().at(1))};
    View()->SetPort(ports[0]);
    Trigger(ID_WRITE);
    fileAnswers = {ports[1]};
    QTest::mouseClick(Dialog()->PortList()->AddButton(), Qt::LeftButton);
    ASSERT_EQ(Dialog()->Ports(), ports);
    std::vector<std::size_t> loggedWhenTold;
    Messenger::SetMessageHandler([&](const MessageRequest& r) {
        messages.push_back(r);
        loggedWhenTold.push_back(Dialog()->Session()->Log().Entries().size());
        return Answer::Ok;
    });
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !View()->IsTransferRunning(); }, 30000));
    QFile::remove(folder);
    ASSERT_EQ(messages.size(), 2u);
    QStringList named;
    for (std::size_t i = 0; i < messages.size(); ++i) {
        const QString port = messages[i].text.section('\n', 0, 0);
        EXPECT_TRUE(ports.contains(port)) << messages[i].text.toStdString();
        EXPECT_TRUE(messages[i].text.section('\n', 1).startsWith("这次的数据没有存入历史记录："));
        EXPECT_GE(loggedWhenTold[i], i + 1);  // that radio's end is in the log already
        named << port;
    }
    EXPECT_NE(named[0], named[1]);
}

TEST_F(Transfer, ComparingWithTheRadioReadsItAndLeavesTheDocumentAsItWas) {
    const RadioImage radio = RadioWithChannels();
    SimProcess sim({"--image", SaveImage("radio.sin", radio).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    const RadioImage before = View()->ImageForSave();
    Trigger(ID_COMPARE_RADIO);
    EXPECT_EQ(Dialog()->windowTitle(), "读频进度");
    EXPECT_FALSE(Dialog()->BackupBox()->isVisible());
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(View()->ImageForSave(), before);
    EXPECT_FALSE(Doc()->IsModified());
    ASSERT_TRUE(View()->Comparison().Active());
    EXPECT_EQ(View()->Comparison().Name(), "对讲机");
    // Channel 1 is in the radio, not in the new document: the grid goes there.
    EXPECT_TRUE(View()->Comparison().Marked(1, 1));
    EXPECT_TRUE(Grid()->model()->index(0, 0).data(Qt::ToolTipRole).toString().startsWith("对讲机中为："));
    EXPECT_EQ(Grid()->Row(), 1);
    EXPECT_EQ(Grid()->Col(), 1);
}

TEST_F(Transfer, AComparisonWithTheRadioFollowsAWriteToIt) {
    RadioImage radio = RadioWithChannels();
    radio[addr::kRadioType] = 0xFF;  // a radio that reports no type: no question before the write
    SimProcess sim({"--image", SaveImage("radio.sin", radio).toStdString()});
    View()->SetPort(QString::fromStdString(sim.Port()));
    Trigger(ID_COMPARE_RADIO);
    QTest::mouseClick(Dialog()->StartButton(), Qt::LeftButton);
    ASSERT_TRUE(WaitForEnd());
    ASSERT_FALSE(View()->Comparison().Differences().empty());
    Start(ID_WRITE);
    ASSERT_TRUE(WaitForEnd());
    // The radio now holds the document: nothing differs, and the panel says so.
    EXPECT_TRUE(View()->Comparison().Active());
    EXPECT_TRUE(View()->Comparison().Differences().empty());
    EXPECT_FALSE(View()->Comparison().Marked(1, 1));
    QStringList shown;
    for (QLabel* label : Frame()->findChild<QWidget*>("comparePanel")->findChildren<QLabel*>()) shown << label->text();
    EXPECT_TRUE(shown.contains("没有不同之处")) << shown.join('|').toStdString();
}
