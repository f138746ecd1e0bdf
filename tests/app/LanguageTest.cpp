// The window and each dialog in both languages, chosen in the language menu
// as a person does: menus, captions, a message's exact text, the help and the
// report read back in the language chosen.
#include <QCheckBox>
#include <QDir>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTreeView>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <fstream>

#include "app/HelpBrowser.h"
#include "link/ProgressDlg.h"
#include "print/ReportPainter.h"
#include "res/ResourceIds.h"
#include "support/GuiFixture.h"
#include "support/SimProcess.h"
#include "support/WithModal.h"

using namespace ids;

namespace {

// What a person reads in one language.
struct Expected {
    Lang lang;
    QStringList menus;
    QString options, radioGroup, alarm, ok, cancel;
    QString setField, setFieldColumn, setFieldValue;
    QString about, tuning, start, notStarted;
    QString otherPort, portPrompt;
    QString saveAs, csvFilter, renumber, fileDialogCancel, fileSizeUnit, folderType;
    QString refusal, imported, saveQuestion;
    QString helpTitle, helpSection;
    std::vector<const char*> report;
};

const Expected kChinese{
    Lang::Zh,
    {"文件(&F)", "编辑(&B)", "编程(&E)", "端口设置", "查看(&V)", "帮助(&H)"},
    "可选功能",
    "整机功能设置",
    "报警音提示",
    "确定",
    "取消",
    "批量设置",
    "项目(&C)",
    "设为(&V)",
    "关于 OstrelTZ写频软件",
    "OstrelTZ在线调试",
    "开始",
    "未开始",
    "其他端口(&O)…",
    "串口设备路径:",
    "另存为",
    "CSV 文件 (*.csv)",
    "按文件顺序重新编号（放入频道 1、2、3…）",
    "取消",
    "字节",
    "文件夹",
    "以下 1 行被拒绝：\n第 3 行: 接收频率“999”：输入数据错误，请按正确的格式及大小重新输入\n\n是否只导入有效的行？",
    "已导入 1 个频道。",
    "是否保存对“无标题”的更改？",
    "帮助主题 - OstrelTZ写频软件",
    "编辑频道",
    {"整机设置", "功能设置:", "报警音提示: 打开", "频道设置:", "接收频率", "繁忙锁定", "第二页", "宽", "高", "载波"},
};

const Expected kEnglish{
    Lang::En,
    {"&File", "&Edit", "&Program", "P&ort", "&View", "&Help"},
    "Optional features",
    "Radio functions",
    "Alarm tone",
    "OK",
    "Cancel",
    "Set field",
    "&Column",
    "&Value",
    "About OstrelTZ Programmer",
    "OstrelTZ Online Tuning",
    "Start",
    "Not started",
    "&Other port…",
    "Serial device path:",
    "Save As",
    "CSV files (*.csv)",
    "Renumber in file order (channels 1, 2, 3…)",
    "Cancel",
    "bytes",
    "Folder",
    "This line was refused:\nLine 3: RX freq \"999\": Wrong entry: type a frequency of the right form and "
    "size\n\nImport only the valid lines?",
    "1 channel imported.",
    "Save the changes to \"Untitled\"?",
    "Help topics - OstrelTZ Programmer",
    "Editing channels",
    {"Radio settings", "Functions:", "Alarm tone: On", "Channel settings:", "RX freq", "Busy lockout", "Page 2", "Wide",
     "High", "Carrier"},
};

// Two channels; the second line is refused in either language.
const char kChineseList[] =
    "频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n"
    "1,145.12500,145.12500,OFF,OFF,宽,是,高,DTMF,开,载波\n"
    "2,999,,OFF,OFF,宽,是,高,DTMF,开,关闭\n";

class BothLanguages : public GuiTest, public testing::WithParamInterface<Expected> {
protected:
    const Expected& Want() const { return GetParam(); }

    // 查看 > 语言 / Language > the language, with the mouse.
    void ChooseLanguage() {
        auto* languages = Frame()->findChild<QMenu*>(QStringLiteral("languageMenu"));
        ASSERT_NE(languages, nullptr);
        QAction* item = Frame()->findChild<QAction*>(Want().lang == Lang::En ? QStringLiteral("languageEn")
                                                                             : QStringLiteral("languageZh"));
        ASSERT_NE(item, nullptr);
        languages->popup(QPoint(0, 0));
        ASSERT_TRUE(QTest::qWaitFor([languages] { return languages->isVisible(); }));
        QTest::mouseClick(languages, Qt::LeftButton, {}, languages->actionGeometry(item).center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return CurrentLanguage() == Want().lang; }));
    }

    // Runs `inspect` on the modal window that command `id` opens, then closes it.
    template <typename Inspect>
    void InModal(int id, Inspect inspect) {
        WithModal([&] { Trigger(id); }, inspect);
    }

    static QString ButtonText(QWidget* dialog, const char* name) {
        auto* button = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
        return button ? button->text() : QStringLiteral("<no button %1>").arg(QString::fromLatin1(name));
    }
};

}  // namespace

TEST_P(BothLanguages, MenusAndDialogsReadInTheChosenLanguage) {
    ChooseLanguage();
    QStringList menus;
    for (QAction* a : Frame()->menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, Want().menus);

    InModal(ID_OPTIONS, [&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), Want().options);
        QStringList groups;
        for (auto* box : dialog->findChildren<QGroupBox*>()) groups << box->title();
        EXPECT_TRUE(groups.contains(Want().radioGroup)) << groups.join('|').toStdString();
        auto* alarm = dialog->findChild<QCheckBox*>(QStringLiteral("1074"));
        ASSERT_NE(alarm, nullptr);
        EXPECT_EQ(alarm->text(), Want().alarm);
        EXPECT_EQ(ButtonText(dialog, "1"), Want().ok);
        EXPECT_EQ(ButtonText(dialog, "2"), Want().cancel);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("2")), Qt::LeftButton);
    });
    InModal(ID_SET_FIELD, [&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), Want().setField);
        auto* form = dialog->findChild<QFormLayout*>();
        ASSERT_NE(form, nullptr);
        auto label = [form](int row) {
            auto* l = qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
            return l ? l->text() : QString();
        };
        EXPECT_EQ(label(0), Want().setFieldColumn);
        EXPECT_EQ(label(1), Want().setFieldValue);
    });
    InModal(ID_APP_ABOUT, [&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), Want().about);
        QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
    });
    InModal(ID_TUNING, [&](QWidget* dialog) { EXPECT_EQ(dialog->windowTitle(), Want().tuning); });
    Trigger(ID_READ);
    CProgressDlg* progress = View()->Progress();
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(progress->findChild<QPushButton*>(QStringLiteral("1"))->text(), Want().start);
    QStringList labels;
    for (auto* label : progress->findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains(Want().notStarted)) << labels.join('|').toStdString();
    QTest::mouseClick(progress->CancelButton(), Qt::LeftButton);

    // The port menu's own entry, and the question it asks.
    auto* other = Frame()->findChild<QAction*>(QStringLiteral("otherPort"));
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->text(), Want().otherPort);
    other->trigger();
    ASSERT_FALSE(fileRequests.empty());
    EXPECT_EQ(fileRequests.back().label, Want().portPrompt);
}

TEST_P(BothLanguages, CsvDialogsAndTheirMessage) {
    ChooseLanguage();
    {
        std::ofstream list(Path("list.csv").toStdString());
        list << kChineseList;
    }
    Messenger::SetFileHandler({});  // the real dialogs
    QDir().mkpath(Path("folder"));
    QString title, renumber, cancel, size, folderType, fileType;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        // Qt's own parts of the dialog speak the chosen language too, its
        // file list's sizes and types among them, whatever the system speaks.
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
            cancel = buttons->button(QDialogButtonBox::Cancel)->text();
        dialog->setDirectory(dir.path());
        auto* list = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
        ASSERT_NE(list, nullptr);
        auto row = [list](const QString& name) {
            const QModelIndexList found = list->model()->match(list->model()->index(0, 0, list->rootIndex()),
                                                               Qt::DisplayRole, name, 1, Qt::MatchExactly);
            return found.isEmpty() ? -1 : found.first().row();
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return row("list.csv") >= 0 && row("folder") >= 0; }, 10000));
        const QAbstractItemModel* model = list->model();
        size = model->index(row("list.csv"), 1, list->rootIndex()).data().toString();
        folderType = model->index(row("folder"), 2, list->rootIndex()).data().toString();
        fileType = model->index(row("list.csv"), 2, list->rootIndex()).data().toString();
        dialog->reject();
    });
    Trigger(ID_EXPORT_CSV);
    EXPECT_EQ(title, Want().saveAs);
    EXPECT_TRUE(filters.contains(Want().csvFilter)) << filters.join('|').toStdString();
    EXPECT_EQ(cancel, Want().fileDialogCancel);
    EXPECT_EQ(size, QString::number(sizeof kChineseList - 1) + " " + Want().fileSizeUnit);
    EXPECT_EQ(folderType, Want().folderType);
    EXPECT_EQ(fileType, Want().lang == Lang::Zh ? "csv 文件" : "csv file");
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("renumber"));
        ASSERT_NE(box, nullptr);
        renumber = box->text();
        dialog->reject();
    });
    Trigger(ID_IMPORT_CSV);
    EXPECT_EQ(renumber, Want().renumber);

    // A Chinese list imported under either language: the refused line in
    // the window's language, and the valid one taken on request.
    Messenger::SetFileHandler([this](const FileRequest&) { return Path("list.csv"); });
    answers = {Answer::Ok};
    Trigger(ID_IMPORT_CSV);
    ASSERT_EQ(messages.size(), 2u);  // the refused line, then what was imported
    EXPECT_EQ(messages[0].text, Want().refusal);
    EXPECT_EQ(messages[1].text.split('\n').first(), Want().imported);
    EXPECT_TRUE(Doc()->IsModified());
    answers = {Answer::Cancel};
    Trigger(ID_FILE_NEW);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[2].text, Want().saveQuestion);

    // The report drawn from the window, as printing to a PDF file draws it.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("report.pdf"));
    ASSERT_TRUE(PaintReport(&printer, View()->ReportInputsFromView()));
    std::string text;
    ASSERT_EQ(RunCommand("pdftotext -layout " + Path("report.pdf").toStdString() + " -", &text), 0);
    for (const char* shown : Want().report) EXPECT_NE(text.find(shown), std::string::npos) << shown << "\n" << text;
}

TEST_P(BothLanguages, HelpShowsTheGuideOfTheLanguage) {
    ChooseLanguage();
    Frame()->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Frame()->isActiveWindow(); }, 5000));
    QString title, section;
    QTimer::singleShot(0, [&] {
        auto* help = qobject_cast<CHelpBrowser*>(QApplication::activeModalWidget());
        ASSERT_NE(help, nullptr);
        title = help->windowTitle();
        const QTextBlock block = help->Browser()->textCursor().block();
        section = block.blockFormat().headingLevel() > 0 ? block.text() : QString();
        help->close();
    });
    QTest::keyClick(Frame(), Qt::Key_F1);
    EXPECT_EQ(title, Want().helpTitle);
    EXPECT_EQ(section, Want().helpSection);
}

INSTANTIATE_TEST_SUITE_P(Window, BothLanguages, testing::Values(kChinese, kEnglish),
                         [](const testing::TestParamInfo<Expected>& info) {
                             return std::string(info.param.lang == Lang::En ? "English" : "Chinese");
                         });
