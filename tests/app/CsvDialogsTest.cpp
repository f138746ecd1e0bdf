#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "res/ResourceIds.h"
#include "support/GuiFixture.h"

using namespace ids;

namespace {

// The club's list: 0-based, named, and one repeater numbered far past the rest.
const char kClubList[] =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Comment\n"
    "0,W1ABC,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,FM,5.00,,Hilltop\n"
    "1,K1XYZ,147.315000,+,0.600000,TSQL,88.5,123.0,023,NN,FM,5.00,,\n"
    "2,N1DCS,444.100000,+,5.000000,DTCS,88.5,88.5,023,NR,NFM,12.50,S,\n"
    "130,W1FAR,443.450000,+,5.000000,,88.5,88.5,023,NN,NFM,12.50,,Far away\n";

class CsvDialogs : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        Messenger::SetFileHandler({});  // the real file dialogs, as a person sees them
        QFile file(Path("club.csv"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kClubList);
    }

    // Runs command `id` and, inside the file dialog it opens, `work`; then,
    // in the test's folder, types `fileName` and clicks the dialog's button.
    void WithFileDialog(int id, const QString& fileName, const std::function<void(QFileDialog*)>& work) {
        bool ran = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->setDirectory(dir.path());  // where the person keeps the lists
            work(dialog);
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(name, fileName);
            auto* buttons = dialog->findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
            ASSERT_NE(buttons, nullptr);
            QPushButton* accept = buttons->button(
                dialog->acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open);
            ASSERT_NE(accept, nullptr);
            QTest::mouseClick(accept, Qt::LeftButton);
            ran = !dialog->isVisible();
            if (!ran) {
                ADD_FAILURE() << "the file dialog stayed open on " << name->text().toStdString();
                dialog->reject();
            }
        });
        Trigger(id);
        EXPECT_TRUE(ran);
    }

    static QCheckBox* Renumber(QFileDialog* dialog) {
        auto* box = dialog->findChild<QCheckBox*>(QStringLiteral("renumber"));
        EXPECT_NE(box, nullptr);
        return box;
    }
    static void Click(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2)); }

    QStringList Row(int row) const {
        QStringList texts;
        for (int c = 1; c <= 10; ++c) texts << Grid()->TextMatrix(row, c);
        return texts;
    }
};

}  // namespace

TEST_F(CsvDialogs, ImportWithRenumberFromTheOpenDialog) {
    WithFileDialog(ID_IMPORT_CSV, QStringLiteral("club.csv"), [](QFileDialog* dialog) {
        QCheckBox* box = Renumber(dialog);
        EXPECT_EQ(box->text(), "按文件顺序重新编号（放入频道 1、2、3…）");
        EXPECT_FALSE(box->isChecked());
        Click(box);
        EXPECT_TRUE(box->isChecked());
    });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(
        messages[0].text.startsWith("已导入 4 个频道。\n按文件顺序放入了频道 1 至 4。\n本机不保存频道名称，略去了 4 "
                                    "个名称。\n以下 4 个频道超出频率范围!"))
        << messages[0].text.toStdString();
    EXPECT_EQ(Row(1), QStringList({"146.94000", "146.34000", "OFF", "100.0", "宽", "是", "高", "DTMF", "开", "关闭"}));
    EXPECT_EQ(Row(3),
              QStringList({"444.10000", "449.10000", "D023I", "D023N", "窄", "否", "高", "DTMF", "开", "关闭"}));
    EXPECT_EQ(Row(4), QStringList({"443.45000", "448.45000", "OFF", "OFF", "窄", "是", "高", "DTMF", "开", "关闭"}));
    EXPECT_TRUE(Doc()->IsModified());

    // The box remembers the last choice; without renumbering Location 130
    // has no channel, and Cancel keeps the grid.
    messages.clear();
    answers = {Answer::Cancel};
    WithFileDialog(ID_IMPORT_CSV, QStringLiteral("club.csv"), [](QFileDialog* dialog) {
        QCheckBox* box = Renumber(dialog);
        EXPECT_TRUE(box->isChecked());
        Click(box);
    });
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].text.contains("第 5 行: Location“130”对应频道 131，不在 1 到 128 之内"))
        << messages[0].text.toStdString();
    EXPECT_EQ(Grid()->TextMatrix(4, 1), "443.45000");
}

TEST_F(CsvDialogs, ExportLayoutChosenInTheSaveDialog) {
    WithFileDialog(ID_IMPORT_CSV, QStringLiteral("club.csv"), [](QFileDialog* dialog) { Click(Renumber(dialog)); });
    WithFileDialog(ID_EXPORT_CSV, QStringLiteral("out.csv"), [](QFileDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QCheckBox*>(QStringLiteral("renumber")), nullptr);
        auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        EXPECT_EQ(types->currentText(), "CSV 文件 (*.csv)");
        ASSERT_EQ(types->count(), 2);
        QTest::keyClick(types, Qt::Key_Down);
        EXPECT_EQ(types->currentText(), "CHIRP CSV 文件，供其他写频软件使用 (*.csv)");
    });
    QFile out(Path("out.csv"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = out.readAll().split('\n');
    ASSERT_EQ(lines.size(), 6);  // header, four channels, the empty rest after the last line end
    EXPECT_TRUE(lines[0].startsWith("\xEF\xBB\xBFLocation,Name,Frequency,Duplex,Offset,Tone,"))
        << lines[0].toStdString();
    EXPECT_EQ(lines[1], "1,,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,High,,,,,\r");
    EXPECT_EQ(lines[4], "4,,443.450000,+,5.000000,,88.5,88.5,023,NN,023,Tone->Tone,NFM,5.00,,High,,,,,\r");

    // The next export offers the layout chosen last.
    WithFileDialog(ID_EXPORT_CSV, QStringLiteral("again.csv"), [](QFileDialog* dialog) {
        EXPECT_EQ(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentIndex(), 1);
    });
    QFile again(Path("again.csv"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_TRUE(again.readLine().contains("Location"));
}

// With a document open, the CSV dialogs start in its folder: the export
// offers its name there.
TEST_F(CsvDialogs, TheCsvDialogsStartBesideTheOpenDocument) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("club")));
    const QString sin = SaveImage("club/repeaters.sin", NewDocumentImage());
    ASSERT_TRUE(Docs()->OpenDocumentFile(sin));
    QStringList seen;
    const auto look = [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        seen << QDir(dialog->directory()).canonicalPath() + '|' + name->text();
        QTest::keyClick(name, Qt::Key_Escape);
    };
    QTimer::singleShot(0, look);
    Trigger(ID_EXPORT_CSV);
    QTimer::singleShot(0, look);
    Trigger(ID_IMPORT_CSV);
    const QString folder = QDir(Path("club")).canonicalPath();
    EXPECT_EQ(seen, QStringList({folder + "|repeaters.csv", folder + "|"}));
}

namespace {

// Answers the message boxes that open from now on as a person does: in the
// n-th box it clicks the button labelled `labels[n]` (Enter on the default
// button for an empty label) and keeps the box's text in `texts`, and in
// `rows` its buttons' labels as they stand from left to right.
class BoxClicker : public QObject {
public:
    BoxClicker(QStringList labels, QStringList* texts, QStringList* rows = nullptr)
        : m_labels(std::move(labels)), m_texts(texts), m_rows(rows) {
        // Polls for the next box: it opens only once the file dialog is gone.
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] { Answer(); });
        m_timer.start();
    }

private:
    void Answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        // A box answered already may still be on its way out.
        if (!box || !box->isVisible() || box->property("answered").toBool()) return;
        box->setProperty("answered", true);
        m_texts->push_back(box->text());
        if (m_rows) {
            QList<QAbstractButton*> buttons = box->buttons();
            std::sort(buttons.begin(), buttons.end(),
                      [](QAbstractButton* a, QAbstractButton* b) { return a->x() < b->x(); });
            QStringList labels;
            for (QAbstractButton* button : buttons) labels << button->text();
            m_rows->push_back(labels.join(' '));
        }
        const QString label = m_labels.isEmpty() ? QString() : m_labels.takeFirst();
        if (m_labels.isEmpty()) m_timer.stop();
        if (label.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Return);
            return;
        }
        for (QAbstractButton* button : box->buttons())
            if (button->text() == label) return QTest::mouseClick(button, Qt::LeftButton);
        ADD_FAILURE() << "no button " << label.toStdString() << " in: " << box->text().toStdString();
        box->reject();
    }

    QStringList m_labels;
    QStringList* m_texts;
    QStringList* m_rows;
    QTimer m_timer;
};

}  // namespace

// The file names channel 2 only: the window says how many channels in use
// would be emptied, and the person keeps them, empties them, or cancels.
TEST_F(CsvDialogs, ChannelsTheFileDoesNotNameAreKeptOrEmptiedAsThePersonChooses) {
    WithFileDialog(ID_IMPORT_CSV, QStringLiteral("club.csv"), [](QFileDialog* dialog) { Click(Renumber(dialog)); });
    const QStringList first = Row(1), second = Row(2);
    {
        QFile file(Path("one.csv"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Location,Frequency,Power\n2,146.52,Low\n");
    }
    Messenger::SetMessageHandler({});  // the real boxes from here on
    const QString question = "文件中没有的 3 个使用中的频道将被清空。\n清空这些频道，还是保留它们？";

    QStringList texts, rows;
    {
        BoxClicker clicker({"", ""}, &texts, &rows);  // Enter keeps: keeping loses nothing
        WithFileDialog(ID_IMPORT_CSV, QStringLiteral("one.csv"), [](QFileDialog* dialog) { Click(Renumber(dialog)); });
    }
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[0], question);
    EXPECT_EQ(rows[0], "清空 保留 取消");  // in the order the page shows them
    EXPECT_EQ(texts[1],
              "已导入 1 个频道。\n文件中没有的 3 个使用中的频道保持不变。\n以下 1 个频道超出频率范围!\n频道 2: "
              "146.52000 / 146.52000");
    EXPECT_EQ(Row(1), first);
    QStringList kept = second;
    kept[0] = kept[1] = "146.52000";
    kept[6] = "低";
    EXPECT_EQ(Row(2), kept);  // its tones and the columns the file has not stay

    texts.clear();
    {
        BoxClicker clicker({"取消"}, &texts);
        WithFileDialog(ID_IMPORT_CSV, QStringLiteral("one.csv"), [](QFileDialog*) {});
    }
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(Row(1), first);

    texts.clear();
    {
        BoxClicker clicker({"清空", ""}, &texts);
        WithFileDialog(ID_IMPORT_CSV, QStringLiteral("one.csv"), [](QFileDialog*) {});
    }
    ASSERT_EQ(texts.size(), 2);
    // Channel 2 holds the file's frequencies already: nothing to warn of.
    EXPECT_EQ(texts[1], "已导入 1 个频道。\n文件中没有的 3 个使用中的频道已清空。");
    for (int row : {1, 3, 4}) EXPECT_EQ(Grid()->TextMatrix(row, 1), "") << row;
    EXPECT_EQ(Row(2), kept);
}
