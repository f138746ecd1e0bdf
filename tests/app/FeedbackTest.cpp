// What the window tells the user: the chosen port and files, boxes that show
// their whole caption, the lock panes, the four boxes' texts and the help.
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QWhatsThis>
#include <functional>

#include "app/HelpBrowser.h"
#include "app/LockKeys.h"
#include "link/ProgressDlg.h"
#include "res/ResourceIds.h"
#include "support/GuiFixture.h"
#include "support/WithModal.h"

using namespace ids;

namespace {

// Lock states the test sets, as a window system would report them.
class SimulatedLockKeys : public ILockKeys {
public:
    explicit SimulatedLockKeys(std::optional<LockKeyState>* state) : m_state(state) {}
    std::optional<LockKeyState> Read() override { return *m_state; }

private:
    std::optional<LockKeyState>* m_state;
};

// The width a title bar needs for `caption` in the bold system font, with
// room for an icon and a close button.
int TitleWidth(const QString& caption) {
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(caption) + 80;
}

bool HasOnlyACloseButton(const QWidget* window) {
    const Qt::WindowFlags flags = window->windowFlags();
    return (flags & Qt::WindowCloseButtonHint) && !(flags & Qt::WindowMinimizeButtonHint) &&
           !(flags & Qt::WindowMaximizeButtonHint);
}

// The heading the help window was opened at.
QString HelpSection(QWidget* modal) {
    auto* help = qobject_cast<CHelpBrowser*>(modal);
    if (!help) return QStringLiteral("<not the help window>");
    const QTextBlock block = help->Browser()->textCursor().block();
    return block.blockFormat().headingLevel() > 0 ? block.text() : QString();
}

}  // namespace

TEST_F(GuiTest, OtherPortEntryShowsTheChosenPath) {
    QAction* other = Frame()->findChild<QAction*>("otherPort");
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), "其他端口(&O)…");
    fileAnswers = {"/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller_D-if00-port0"};
    other->trigger();
    EXPECT_EQ(other->text(),
              "其他端口(&O) (/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller_D-if00-port0)…");
    EXPECT_TRUE(other->isChecked());
    App()->SetPort("/dev/ttyUSB4");  // ostreltz --port /dev/ttyUSB4
    EXPECT_EQ(other->text(), "其他端口(&O) (/dev/ttyUSB4)…");
    Trigger(ID_PORT_COM2);
    EXPECT_EQ(other->text(), "其他端口(&O)…");
    EXPECT_FALSE(other->isChecked());
}

TEST_F(GuiTest, RecentFilesWithTheSameNameAreToldApart) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("north/radio"));
    ASSERT_TRUE(QDir(dir.path()).mkpath("south/radio"));
    const QString north = SaveImage("north/radio/a&b.sin", NewDocumentImage());
    const QString south = SaveImage("south/radio/a&b.sin", NewDocumentImage());
    const QString other = SaveImage("other.sin", NewDocumentImage());
    for (const QString& file : {other, north, south}) ASSERT_TRUE(Docs()->OpenDocumentFile(file));
    QStringList texts, tips, prompts;
    for (int i = 0; i < 3; ++i) {
        QAction* entry = Frame()->findChild<QAction*>(QString::number(ID_FILE_MRU_FILE1 + i));
        ASSERT_NE(entry, nullptr);
        texts << entry->text();
        tips << entry->toolTip();
        prompts << entry->statusTip();
    }
    EXPECT_EQ(texts, QStringList({"&1 south/radio/a&&b.sin", "&2 north/radio/a&&b.sin", "&3 other.sin"}));
    EXPECT_EQ(tips, QStringList({QFileInfo(south).absoluteFilePath(), QFileInfo(north).absoluteFilePath(),
                                 QFileInfo(other).absoluteFilePath()}));
    EXPECT_EQ(prompts[1], "打开该文档: " + QFileInfo(north).absoluteFilePath());
}

TEST_F(GuiTest, MessageBoxesShowTheirWholeCaptionAndOnlyACloseButton) {
    Messenger::SetMessageHandler({});  // the real boxes
    struct Case {
        QString text;
        Buttons buttons;
        bool cancelIsDefault;
        QMessageBox::StandardButton expectedDefault;
    };
    const Case cases[] = {
        {" 没有可视信息", Buttons::Ok, false, QMessageBox::Ok},
        {" 错误需延时再试", Buttons::RetryCancel, false, QMessageBox::Retry},
        {"中断写频会使对讲机中的数据不完整，确定中断吗？", Buttons::OkCancel, true, QMessageBox::Cancel},
        {"Cannot open the serial port: check that the device works and is not in use\n"
         "The serial port /dev/ttyUSB0 does not exist: check that the cable is plugged in.",
         Buttons::Ok, false, QMessageBox::Ok}};
    for (const Case& c : cases) {
        WithModal(
            [&] {
                MessageRequest request{c.text, QString(), c.buttons, MessageIcon::Warning};
                request.cancelIsDefault = c.cancelIsDefault;
                Messenger::Show(Frame(), request);
            },
            [&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->windowTitle(), "OstrelTZ写频软件");
                EXPECT_GE(box->width(), TitleWidth(box->windowTitle())) << c.text.toStdString();
                EXPECT_TRUE(HasOnlyACloseButton(box));
                EXPECT_EQ(box->standardButton(box->defaultButton()), c.expectedDefault);
                // Each line shows whole, on a screen as wide as a desktop's.
                auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
                ASSERT_NE(label, nullptr);
                for (const QString& line : c.text.split('\n'))
                    EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(line))
                        << line.toStdString();
            });
    }
    // The "其他端口…" question is wide enough for a long device path.
    const QString longPath = "/dev/serial/by-id/usb-Prolific_Technology_Inc._USB-Serial_Controller_D-if00-port0";
    Messenger::SetFileHandler({});
    WithModal([&] { Messenger::AskText(Frame(), "串口设备路径:", longPath); },
              [&](QWidget* modal) {
                  auto* edit = modal->findChild<QLineEdit*>();
                  ASSERT_NE(edit, nullptr);
                  EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(longPath));
                  EXPECT_GE(modal->width(), TitleWidth(modal->windowTitle()));
                  EXPECT_TRUE(HasOnlyACloseButton(modal));
              });
    EXPECT_TRUE(HasOnlyACloseButton(View()->Progress()));
}

TEST_F(GuiTest, LockPanesFollowTheKeyboard) {
    std::optional<LockKeyState> state = LockKeyState{true, false, false};
    Frame()->SetLockKeys(std::make_unique<SimulatedLockKeys>(&state));
    const QStringList names = {"大写", "数字", "滚动"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Frame()->LockPane(i)->text(), names[i]);
    EXPECT_TRUE(Frame()->LockPane(0)->isEnabled());
    EXPECT_FALSE(Frame()->LockPane(1)->isEnabled());
    state = LockKeyState{false, true, true};  // Caps off, Num and Scroll on
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Frame()->LockPane(0)->isEnabled(); }, 5000));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return Frame()->LockPane(1)->isEnabled() && Frame()->LockPane(2)->isEnabled(); }, 5000));
    state.reset();  // a window system that does not tell: all grey
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !Frame()->LockPane(1)->isEnabled() && !Frame()->LockPane(2)->isEnabled(); }, 5000));
}

TEST_F(GuiTest, TheFourBoxesShowOnlyTheirEntries) {
    for (QComboBox* box : {View()->m_cbModel, View()->m_cbBand, View()->m_cbPower, View()->m_cbManual}) {
        QStringList entries;
        for (int i = 0; i < box->count(); ++i) entries << box->itemText(i);
        box->setFocus();
        QTest::keyClicks(box, "xyz 42");
        QTest::keyClick(box, Qt::Key_Down);
        EXPECT_TRUE(entries.contains(box->currentText())) << box->currentText().toStdString();
        EXPECT_FALSE(box->isEditable());
    }
}

TEST_F(GuiTest, HelpShowsItsPicturesAndMenuNamesAsSeen) {
    WithModal([&] { Trigger(ID_HELP_FINDER); },
              [&](QWidget* modal) {
                  auto* help = qobject_cast<CHelpBrowser*>(modal);
                  ASSERT_NE(help, nullptr);
                  QTextBrowser* browser = help->Browser();
                  EXPECT_FALSE(browser->toPlainText().contains("(&"));
                  // A sentence reads on without a stray blank where the guide's source breaks its line.
                  EXPECT_TRUE(browser->toPlainText().contains("所选单元格以制表符分隔的文字放入剪贴板"));
                  int pictures = 0;
                  for (QTextBlock block = browser->document()->begin(); block.isValid(); block = block.next())
                      for (auto it = block.begin(); !it.atEnd(); ++it) {
                          const QTextCharFormat format = it.fragment().charFormat();
                          if (!format.isImageFormat()) continue;
                          ++pictures;
                          const QString name = format.toImageFormat().name();
                          const QVariant data = browser->loadResource(QTextDocument::ImageResource, QUrl(name));
                          EXPECT_FALSE(QImage::fromData(data.toByteArray()).isNull()) << name.toStdString();
                      }
                  EXPECT_GE(pictures, 4);
              });
}

TEST_F(GuiTest, PointerHelpOpensTheGuideAtWhatIsClickedNext) {
    QToolBar* toolbar = Frame()->ToolBar();
    auto button = [&](int id) { return toolbar->widgetForAction(Frame()->Action(id)); };
    // The section the help window opens at, once the click has opened it.
    auto sectionAfter = [&](const std::function<void()>& click) {
        QString section;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (auto* help = qobject_cast<CHelpBrowser*>(QApplication::activeModalWidget())) {
                section = HelpSection(help);
                help->close();
            }
        });
        poll.start(10);
        QTest::mouseClick(button(ID_CONTEXT_HELP), Qt::LeftButton);
        EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
        click();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !section.isEmpty(); }));
        EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
        return section;
    };
    // A button: its command's section, and the command does not run.
    EXPECT_EQ(sectionAfter([&] { QTest::mouseClick(button(ID_WRITE), Qt::LeftButton); }), "写频");
    EXPECT_FALSE(View()->Progress()->isVisible());
    EXPECT_EQ(sectionAfter([&] { QTest::mouseClick(button(ID_FILE_PRINT), Qt::LeftButton); }), "打印");
    // Anything else: its window's section.
    EXPECT_EQ(sectionAfter([&] { QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(40, 30)); }),
              "编辑频道");
    EXPECT_EQ(Grid()->OpenEditor(), nullptr);
}

TEST_F(GuiTest, F1OpensTheSectionOfTheWindowInFront) {
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Frame()->isActiveWindow(); }, 5000));
    QString section;
    WithModal([&] { QTest::keyClick(Frame(), Qt::Key_F1); }, [&](QWidget* modal) { section = HelpSection(modal); });
    EXPECT_EQ(section, "编辑频道");

    // A modal dialog: F1 inside it.
    auto f1In = [&](int command) {
        QString found;
        WithModal([&] { Trigger(command); },
                  [&](QWidget* dialog) {
                      WithModal(
                          [&] { QTest::keyClick(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_F1); },
                          [&](QWidget* help) { found = HelpSection(help); });
                  });
        return found;
    };
    EXPECT_EQ(f1In(ID_OPTIONS), "可选功能");
    EXPECT_EQ(f1In(ID_TUNING), "在线调试");
    EXPECT_EQ(f1In(ID_HISTORY), "历史记录");
    EXPECT_EQ(f1In(ID_FILE_PRINT_PREVIEW), "打印");

    Trigger(ID_WRITE);
    CProgressDlg* progress = View()->Progress();
    progress->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->isActiveWindow(); }, 5000));
    WithModal([&] { QTest::keyClick(progress, Qt::Key_F1); }, [&](QWidget* modal) { section = HelpSection(modal); });
    EXPECT_EQ(section, "写频");
    QTest::mouseClick(progress->CancelButton(), Qt::LeftButton);
}
