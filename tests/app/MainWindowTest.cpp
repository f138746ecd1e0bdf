#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProxyStyle>
#include <QSet>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QWhatsThis>
#include <algorithm>
#include <random>

#include "app/UiLanguage.h"
#include "link/ProgressDlg.h"
#include "res/CommandTable.h"
#include "res/ResourceIds.h"
#include "support/GuiFixture.h"
#include "support/RandomImage.h"
#include "support/RunCommand.h"

using namespace ids;

namespace {

// An image whose channel 3 holds 145.12500 / 146.00000.
RadioImage ImageWithChannel() {
    RadioImage image = NewDocumentImage();
    const std::uint8_t record[16] = {0x00, 0x25, 0x51, 0x14, 0x00, 0x00, 0x60, 0x14,
                                     0x70, 0x06, 0x23, 0x80, 0x02, 0xFB, 0xFF, 0xFF};
    std::copy(std::begin(record), std::end(record), image.begin() + 32);
    image[addr::kBand] = 0xEF;
    return image;
}

}  // namespace

TEST_F(GuiTest, StartUpShowsANewDocument) {
    EXPECT_EQ(Frame()->windowTitle(), "OstrelTZ系列专业手持对讲机写频软件");
    const QStringList headers = {"频道",     "接收频率", "发射频率",  "接收信令", "发射信令", " 宽/窄",
                                 "扫描添加", "发射功率", " 可选信令", "PTTID",    "繁忙锁定"};
    for (int c = 0; c < 11; ++c) EXPECT_EQ(Grid()->TextMatrix(0, c), headers[c]);
    for (int r = 1; r <= 128; ++r) {
        ASSERT_EQ(Grid()->TextMatrix(r, 0), QString::number(r));
        for (int c = 1; c <= 10; ++c) ASSERT_TRUE(Grid()->TextMatrix(r, c).isEmpty());
    }
    EXPECT_EQ(View()->m_cbModel->currentText(), "OST - 101");
    EXPECT_EQ(View()->m_cbBand->currentText(), "240 - 260MHz");
    EXPECT_EQ(View()->m_cbPower->currentText(), "9");
    EXPECT_EQ(View()->m_cbManual->currentText(), "打开");
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(Frame()->MessagePane()->text(), "如需帮助，请按F1键");
    EXPECT_FALSE(View()->m_cbModel->isEditable());
    EXPECT_FALSE(View()->m_cbManual->isEditable());
    // The window's icon follows once it has been painted, in every size it is drawn at.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Frame()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Frame()->windowIcon().isNull(); }));
    EXPECT_EQ(Frame()->windowIcon().availableSizes(),
              QList<QSize>({{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}}));
}

TEST_F(GuiTest, MenusToolbarAndPromptsAreAsListed) {
    QStringList titles;
    for (QAction* a : Frame()->menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, QStringList({"文件(&F)", "编辑(&B)", "编程(&E)", "端口设置", "查看(&V)", "帮助(&H)"}));
    // Every menu's mnemonic letter is its own.
    QStringList mnemonics;
    for (const QString& t : titles)
        if (t.contains('&')) mnemonics << t.section('&', 1).left(1);
    EXPECT_EQ(QSet<QString>(mnemonics.begin(), mnemonics.end()).size(), mnemonics.size());
    for (const CommandInfo& c : CommandTable()) {
        QAction* a = Frame()->findChild<QAction*>(QString::number(c.id));
        ASSERT_NE(a, nullptr) << c.id;
        if (c.text) {
            EXPECT_EQ(a->text(), QTr(*c.text));
        }
        const QString prompt = QTr(c.prompt);
        EXPECT_EQ(a->statusTip(), prompt.section('\n', 0, 0));
        EXPECT_EQ(a->shortcuts(), QKeySequence::listFromString(QString::fromLatin1(c.shortcut))) << c.id;
    }
    EXPECT_EQ(Frame()->Action(ID_TUNING)->toolTip(), "在线调试");
    EXPECT_EQ(Frame()->Action(ID_TUNING)->statusTip(), "实时修改对讲机发射功率，静燥等级，电池低压报警");
    QList<int> toolbar;
    for (QAction* a : Frame()->ToolBar()->actions()) toolbar << (a->isSeparator() ? 0 : a->objectName().toInt());
    EXPECT_EQ(toolbar, QList<int>({ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_READ, ID_WRITE, ID_TUNING, 0,
                                   ID_EDIT_CHANNELS, 0, ID_FILE_PRINT, ID_CONTEXT_HELP, ID_APP_ABOUT}));
    // The recent-file placeholder is greyed while the list is empty.
    QAction* placeholder = Frame()->findChild<QAction*>(QString::number(ID_FILE_MRU_FILE1));
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->text(), "最近文件");
    EXPECT_FALSE(placeholder->isEnabled());
    // Exactly one port is checked, COM1 at start.
    EXPECT_TRUE(Frame()->Action(ID_PORT_COM1)->isChecked());
    Trigger(ID_PORT_COM3);
    EXPECT_TRUE(Frame()->Action(ID_PORT_COM3)->isChecked());
    EXPECT_FALSE(Frame()->Action(ID_PORT_COM1)->isChecked());
    EXPECT_EQ(View()->Port(), "COM3");
}

// The menus stay in the window on every desktop; the arrows of the menu
// bar's and the toolbar's overflow buttons are the style's own, drawn when
// they are first shown.
TEST_F(GuiTest, MenusStayInTheWindowAndTheOverflowArrowsAreTheStyles) {
    EXPECT_FALSE(Frame()->menuBar()->isNativeMenuBar());
    const QStyle* base = qobject_cast<QProxyStyle*>(qApp->style())->baseStyle();
    for (QWidget* bar : {static_cast<QWidget*>(Frame()->menuBar()), static_cast<QWidget*>(Frame()->ToolBar())}) {
        const auto buttons = bar->findChildren<QToolButton*>();
        const auto ext = std::find_if(buttons.begin(), buttons.end(), [](const QToolButton* b) {
            return b->objectName().endsWith(QStringLiteral("_ext_button"));
        });
        ASSERT_NE(ext, buttons.end()) << bar->objectName().toStdString();
        const QImage drawn = (*ext)->icon().pixmap(16, 16).toImage();
        EXPECT_FALSE(drawn.isNull());
        EXPECT_EQ(drawn, base->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton).pixmap(16, 16).toImage());
    }
}

TEST_F(GuiTest, SavingANewDocumentGivesTheDefaultRows) {
    fileAnswers = {Path("new.sin")};
    Trigger(ID_FILE_SAVE);
    ASSERT_EQ(fileRequests.size(), 1u);
    EXPECT_EQ(fileRequests[0].kind, FileRequestKind::Save);
    RadioImage saved = Load(Path("new.sin"));
    RadioImage expected = NewDocumentImage();
    for (int n = 0; n < 128; ++n) {
        expected[static_cast<std::size_t>(n * 16 + 12)] = 0x00;
        expected[static_cast<std::size_t>(n * 16 + 13)] = 0xC5;
        expected[static_cast<std::size_t>(n * 16 + 14)] = 0xFE;
    }
    EXPECT_EQ(saved, expected);
    EXPECT_EQ(Doc()->PathName(), QFileInfo(Path("new.sin")).absoluteFilePath());
    EXPECT_EQ(Frame()->windowTitle(), "OstrelTZ系列专业手持对讲机写频软件");
}

TEST_F(GuiTest, OpenAndSaveKeepEveryByteThePullDoesNotRewrite) {
    RadioImage image = RandomImage(1);
    image[addr::kBand] = 0xF1;
    image[addr::kModel] = 0x3A;
    image[addr::kPowerLevel] = 4;
    const QString file = SaveImage("a.sin", image);
    fileAnswers = {file};
    Trigger(ID_FILE_OPEN);
    EXPECT_EQ(View()->m_cbBand->currentText(), "350 - 390MHz");
    EXPECT_EQ(View()->m_cbModel->currentText(), "OST - 103");
    EXPECT_EQ(View()->m_cbPower->currentText(), "4");
    Trigger(ID_FILE_SAVE);
    const RadioImage saved = Load(file);
    for (std::size_t i = 0x800; i < kImageSize; ++i) EXPECT_EQ(saved[i], i == addr::kFixedA8 ? 0xA8 : image[i]) << i;
    PlainChannelTable table;
    UpdateGridFromImage(image, table);
    RadioImage expected = image;
    UpdateImageFromGrid(table, expected);
    EXPECT_EQ(saved, expected);
}

TEST_F(GuiTest, ShortFileIsRefusedAndNothingChanges) {
    const QString good = SaveImage("good.sin", ImageWithChannel());
    ASSERT_TRUE(Docs()->OpenDocumentFile(good));
    QFile shortFile(Path("short.sin"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write(QByteArray(100, 'x'));
    shortFile.close();
    const RadioImage before = Doc()->Session().ImageForSave();
    EXPECT_FALSE(Docs()->OpenDocumentFile(Path("short.sin")));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].caption, "OstrelTZ写频软件");
    EXPECT_TRUE(messages[0].text.contains("2112"));
    EXPECT_EQ(Doc()->Session().ImageForSave(), before);
    EXPECT_EQ(Doc()->PathName(), QFileInfo(good).absoluteFilePath());
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "145.12500");
}

TEST_F(GuiTest, AnEmptyFileOpensAsNothingAndTheEditsStayUnsaved) {
    const QString good = SaveImage("good.sin", ImageWithChannel());
    ASSERT_TRUE(Docs()->OpenDocumentFile(good));
    SetCell(3, 1, "146.00000");
    QFile empty(Path("empty.sin"));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    // The edits are not saved first; the empty file changes nothing at all, so
    // they are still there, still unsaved, and still asked about.
    answers = {Answer::Discard};
    fileAnswers = {empty.fileName()};
    Trigger(ID_FILE_OPEN);
    EXPECT_EQ(Doc()->PathName(), QFileInfo(good).absoluteFilePath());
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "146.00000");
    EXPECT_TRUE(Doc()->IsModified());
    messages.clear();
    answers = {Answer::Cancel};
    Trigger(ID_FILE_NEW);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "是否保存对“good.sin”的更改？");
}

TEST_F(GuiTest, ALongerFileOpensWithAWarningThatNamesTheExtraBytes) {
    QFile file(SaveImage("long.sin", ImageWithChannel()));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(QByteArray(300, 'x'));
    file.close();
    fileAnswers = {file.fileName()};
    Trigger(ID_FILE_OPEN);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text,
              "文件“" + file.fileName() + "”比写频数据多出 300 字节：只读入了前 2112 字节，多出的部分被忽略。");
    EXPECT_EQ(messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(Doc()->PathName(), QFileInfo(file.fileName()).absoluteFilePath());
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "145.12500");
}

TEST_F(GuiTest, ChangingASelectionMarksModifiedAndExitAsks) {
    QComboBox* model = View()->m_cbModel;
    model->setFocus();
    QTest::keyClick(model, Qt::Key_Down);
    EXPECT_EQ(model->currentText(), "OST - 102");
    EXPECT_TRUE(Doc()->IsModified());
    answers = {Answer::Cancel};
    EXPECT_FALSE(Frame()->close());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].buttons, Buttons::SaveDiscardCancel);
    EXPECT_EQ(messages[0].text, "是否保存对“无标题”的更改？");
    EXPECT_TRUE(Frame()->isVisible());
    // Save chosen: the file dialog, then the window closes.
    answers = {Answer::Save};
    fileAnswers = {Path("exit.sin")};
    EXPECT_TRUE(Frame()->close());
    EXPECT_EQ(Load(Path("exit.sin"))[addr::kModel], 0x39);
}

TEST_F(GuiTest, NewAndOpenAskOnlyWhenModified) {
    Trigger(ID_FILE_NEW);
    EXPECT_TRUE(messages.empty());
    View()->m_cbPower->setCurrentIndex(3);
    emit View()->m_cbPower->activated(3);
    ASSERT_TRUE(Doc()->IsModified());
    answers = {Answer::Discard};
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(messages.size(), 1u);
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_EQ(View()->m_cbPower->currentText(), "9");
}

TEST_F(GuiTest, RecentListSurvivesARestartAndEntryOneReloads) {
    const QString a = SaveImage("A.sin", ImageWithChannel());
    ASSERT_TRUE(Docs()->OpenDocumentFile(a));
    App()->ExitInstance();
    Start();
    ASSERT_EQ(Docs()->RecentFiles().Files(), QStringList({QFileInfo(a).absoluteFilePath()}));
    QAction* entry1 = Frame()->findChild<QAction*>(QString::number(ID_FILE_MRU_FILE1));
    ASSERT_TRUE(entry1 && entry1->isEnabled());
    EXPECT_TRUE(entry1->text().contains("A.sin"));

    // Unmodified: entry 1 reloads without a question.
    ASSERT_TRUE(Docs()->OnOpenRecentFile(0));
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "145.12500");
    // Modified: it asks first; Cancel keeps the edits.
    SetCell(3, 1, "146.00000");
    ASSERT_TRUE(Doc()->IsModified());
    answers = {Answer::Cancel};
    EXPECT_FALSE(Docs()->OnOpenRecentFile(0));
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "146.00000");
    answers = {Answer::Discard};
    EXPECT_TRUE(Docs()->OnOpenRecentFile(0));
    EXPECT_EQ(Grid()->TextMatrix(3, 1), "145.12500");
    EXPECT_EQ(messages.size(), 2u);
}

TEST_F(GuiTest, FileGivenAtStartIsOpenBeforeTheWindowShows) {
    const QString a = SaveImage("start.sin", ImageWithChannel());
    App()->ExitInstance();
    Start({a});
    EXPECT_EQ(Grid()->TextMatrix(3, 2), "146.00000");
    EXPECT_EQ(View()->m_cbBand->currentText(), "136 - 174MHz");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(GuiTest, EnterInAFormBoxMovesOnToTheNextBox) {
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    QComboBox* model = View()->m_cbModel;
    const int chosen = model->currentIndex();
    model->setFocus();
    QTest::keyClick(model, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), View()->m_cbBand);
    EXPECT_EQ(model->currentIndex(), chosen);
    QTest::keyClick(View()->m_cbBand, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), View()->m_cbPower);
}

TEST_F(GuiTest, PointerHelpAndEditChannels) {
    QTest::mouseMove(Grid()->viewport(), QPoint(20, 20));
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(Grid()->viewport(), &enter);
    EXPECT_EQ(Frame()->MessagePane()->text(), "请双击格子进入编辑状态或直接输入数字,如需帮助，请按F1键");
    QApplication::sendEvent(View()->m_cbBand, &enter);
    EXPECT_EQ(Frame()->MessagePane()->text(), "请点击组合框右边的箭头按钮以进行选择");
    QApplication::sendEvent(View(), &enter);
    EXPECT_EQ(Frame()->MessagePane()->text(), "如需帮助，请按F1键");

    // Asking for an object: the pointer over the grid leaves the prompt, Esc ends the mode.
    Trigger(ID_CONTEXT_HELP);
    QApplication::sendEvent(Grid()->viewport(), &enter);
    EXPECT_EQ(Frame()->MessagePane()->text(), "选定一个要得到帮助的对象");
    QTest::keyClick(Grid()->viewport(), Qt::Key_Escape);
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    // Its prompt goes with it, though the pointer does not move.
    EXPECT_EQ(Frame()->MessagePane()->text(), "如需帮助，请按F1键");
    QApplication::sendEvent(Grid()->viewport(), &enter);
    EXPECT_EQ(Frame()->MessagePane()->text(), "请双击格子进入编辑状态或直接输入数字,如需帮助，请按F1键");

    // From one of the form's boxes: the keys go to the grid's first cell,
    // not on turning the box.
    Grid()->SetCurrentCell(7, 4);
    View()->m_cbModel->setFocus();
    Trigger(ID_EDIT_CHANNELS);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "请直接在右边的表格双击");
    EXPECT_EQ(Grid()->Row(), 1);
    EXPECT_EQ(Grid()->Col(), 1);
    EXPECT_EQ(Frame()->focusWidget(), Grid());
}

TEST_F(GuiTest, ColumnWidthsFollowTheFrequencyColumn) {
    const int w = Grid()->ColWidth(2);
    EXPECT_EQ(Grid()->ColWidth(1), w);
    EXPECT_EQ(Grid()->ColWidth(0), w / 2);
    EXPECT_EQ(Grid()->ColWidth(3), w * 10 / 11);
    EXPECT_EQ(Grid()->ColWidth(5), w * 5 / 6);
    EXPECT_EQ(Grid()->ColWidth(8), w);
    EXPECT_GE(w, Grid()->fontMetrics().horizontalAdvance("512.01875"));
    // A second open does not set them up again.
    Grid()->SetColWidth(5, 200);
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(Grid()->ColWidth(5), 200);
}

TEST_F(GuiTest, CsvExportAndImportFromTheWindow) {
    SetCell(4, 1, "146.00000");
    SetCell(4, 2, "146.50000");
    for (int c = 3; c <= 4; ++c) SetCell(4, c, "OFF");
    const char* flags[] = {"宽", "是", "高", "DTMF", "开", "关闭"};
    for (int c = 5; c <= 10; ++c) SetCell(4, c, flags[c - 5]);
    fileAnswers = {Path("grid.csv")};
    Trigger(ID_EXPORT_CSV);
    ASSERT_TRUE(QFile::exists(Path("grid.csv")));
    answers = {Answer::Discard};
    Trigger(ID_FILE_NEW);
    EXPECT_EQ(Grid()->TextMatrix(4, 1), "");
    fileAnswers = {Path("grid.csv")};
    Trigger(ID_IMPORT_CSV);
    EXPECT_EQ(Grid()->TextMatrix(4, 2), "146.50000");
    EXPECT_TRUE(Doc()->IsModified());
    // The import is one step: undo gives the new document back.
    Trigger(ID_EDIT_UNDO);
    EXPECT_EQ(Grid()->TextMatrix(4, 2), "");
    EXPECT_FALSE(Doc()->IsModified());
    Trigger(ID_EDIT_REDO);
    // A refused line is reported once; Cancel applies nothing.
    QFile bad(Path("bad.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(
        "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n"
        "9,600,,OFF,OFF,宽,是,高,DTMF,开,关闭\n");
    bad.close();
    messages.clear();
    fileAnswers = {Path("bad.csv")};
    answers = {Answer::Cancel};
    Trigger(ID_IMPORT_CSV);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("第 2 行"));
    EXPECT_EQ(Grid()->TextMatrix(4, 2), "146.50000");
}

namespace {
// Opens `menu` and clicks `action` in it, as a person does.
void ClickMenuItem(QMenu* menu, QAction* action) {
    menu->popup(QPoint(0, 0));
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }));
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
}

QStringList MenuTitles(QMainWindow* frame) {
    QStringList titles;
    for (QAction* a : frame->menuBar()->actions()) titles << a->text();
    return titles;
}
}  // namespace

TEST_F(GuiTest, TheLanguageWaitsWhileTheTransferWindowIsOpen) {
    QMenu* languages = Frame()->findChild<QMenu*>("languageMenu");
    QAction* english = Frame()->findChild<QAction*>("languageEn");
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
    CProgressDlg* progress = View()->Progress();
    ASSERT_TRUE(QTest::qWaitFor([progress] { return progress->isVisible(); }));
    // Its texts would stay in the language they were shown in.
    ClickMenuItem(languages, english);
    languages->close();
    EXPECT_EQ(Frame()->Action(ID_READ)->toolTip(), "读频");
    EXPECT_EQ(progress->windowTitle(), "读频进度");
    QTest::keyClick(progress, Qt::Key_Escape);
    ASSERT_FALSE(progress->isVisible());
    ClickMenuItem(languages, english);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Frame()->Action(ID_READ)->toolTip() == "Read from radio"; }));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([progress] { return progress->isVisible(); }));
    EXPECT_EQ(progress->windowTitle(), "Read progress");
    QTest::keyClick(progress, Qt::Key_Escape);
}

TEST_F(GuiTest, LanguageMenuSwitchesTheWindowAtOnceAndIsRemembered) {
    QMenu* languages = Frame()->findChild<QMenu*>("languageMenu");
    ASSERT_NE(languages, nullptr);
    EXPECT_EQ(languages->title(), "语言 / Language");
    QAction* english = Frame()->findChild<QAction*>("languageEn");
    QAction* chinese = Frame()->findChild<QAction*>("languageZh");
    EXPECT_TRUE(chinese->isChecked());

    ClickMenuItem(languages, english);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Frame()->windowTitle() == "OstrelTZ Handheld Radio Programmer"; }));
    EXPECT_EQ(MenuTitles(Frame()), QStringList({"&File", "&Edit", "&Program", "P&ort", "&View", "&Help"}));
    EXPECT_EQ(Frame()->Action(ID_READ)->text(), "&Read from radio\tCtrl+R");
    EXPECT_EQ(Frame()->Action(ID_READ)->toolTip(), "Read from radio");
    EXPECT_EQ(Frame()->Action(ID_WRITE)->statusTip(), "Write the channels to the radio");
    EXPECT_EQ(Frame()->Action(ID_PORT_COM1)->shortcut(), QKeySequence("Ctrl+C"));
    EXPECT_EQ(Frame()->MessagePane()->text(), "For Help, press F1");
    EXPECT_EQ(Grid()->TextMatrix(0, 1), "RX freq");
    EXPECT_EQ(Grid()->model()->headerData(9, Qt::Horizontal).toString(), "Busy lockout");
    EXPECT_EQ(View()->findChild<QGroupBox*>()->title(), "Radio settings");
    EXPECT_EQ(languages->title(), "语言 / Language");
    EXPECT_TRUE(english->isChecked());
    EXPECT_EQ(ProgramSettings().value("Settings/Language").toString(), "en");
    EXPECT_EQ(StartLanguage({"ostreltz"}), Lang::En);
    EXPECT_EQ(StartLanguage({"ostreltz", "--lang", "zh"}), Lang::Zh);

    ClickMenuItem(languages, chinese);
    EXPECT_TRUE(QTest::qWaitFor([this] { return Frame()->MessagePane()->text() == "如需帮助，请按F1键"; }));
    EXPECT_EQ(MenuTitles(Frame()),
              QStringList({"文件(&F)", "编辑(&B)", "编程(&E)", "端口设置", "查看(&V)", "帮助(&H)"}));
    EXPECT_EQ(Frame()->windowTitle(), "OstrelTZ系列专业手持对讲机写频软件");
    EXPECT_EQ(Grid()->TextMatrix(0, 5), " 宽/窄");
    EXPECT_EQ(View()->findChild<QGroupBox*>()->title(), "整机设置");
    EXPECT_EQ(StartLanguage({"ostreltz", "--lang=en"}), Lang::En);
}

// The program's own answers on standard output: one that is lost (a full disk
// behind it) is a failure, as on the command line.
TEST(ProgramAnswers, HelpAndVersionFailWhenTheirOutputIsLost) {
    for (const char* option : {"--help", "--version"}) {
        const std::string program = std::string(OSTRELTZ_GUI) + " " + option;
        EXPECT_EQ(RunCommand("{ " + program + " >/dev/full; }"), 1) << option;
        EXPECT_EQ(RunCommand(program + " >/dev/null"), 0) << option;
    }
    // So does a wrong option, on standard error, and nothing starts.
    std::string error;
    EXPECT_EQ(RunCommand(std::string(OSTRELTZ_GUI) + " --lang en --bogus 2>&1", &error), 1);
    EXPECT_NE(error.find("OstrelTZ Programmer: Unknown option 'bogus'"), std::string::npos) << error;
    // A language it does not speak is refused as the command line refuses it.
    EXPECT_EQ(RunCommand("XDG_CONFIG_HOME=/nonexistent LANG=en_US.UTF-8 LC_ALL= " + std::string(OSTRELTZ_GUI) +
                             " --lang fr 2>&1",
                         &error),
              1);
    EXPECT_NE(error.find("OstrelTZ Programmer: --lang takes zh or en"), std::string::npos) << error;
    // The version names the program in the language asked for.
    for (const auto& [lang, name] : {std::pair{"en", "OstrelTZ Programmer"}, std::pair{"zh", "OstrelTZ写频软件"}}) {
        std::string out;
        EXPECT_EQ(RunCommand(std::string(OSTRELTZ_GUI) + " --version --lang " + lang, &out), 0);
        EXPECT_EQ(out.rfind(std::string(name) + " ", 0), 0u) << out;
    }
}
