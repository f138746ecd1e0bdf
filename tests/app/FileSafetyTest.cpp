// The window's file commands against files that are not files, a full disk
// and a file changed by another program: nothing hangs, nothing is lost, and
// every failure says why.
#include <QFile>
#include <QPrinter>

#include <sys/mount.h>
#include <sys/stat.h>

#include "image/FileAccess.h"
#include "print/PrintCommands.h"
#include "res/ResourceIds.h"
#include "support/GuiFixture.h"

using namespace ids;

namespace {

class FileSafety : public GuiTest {
protected:
    QString Pipe() {
        const QString pipe = Path("pipe.sin");
        if (!QFile::exists(pipe)) {
            EXPECT_EQ(::mkfifo(pipe.toUtf8().constData(), 0644), 0);
        }
        return pipe;
    }
    static QByteArray Bytes(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

}  // namespace

TEST_F(FileSafety, ANamedPipeInEveryRoleAnswersAtOnce) {
    const QString pipe = Pipe();
    const QString opened = QStringLiteral("无法打开文件“%1”。\n不是普通文件").arg(pipe);
    const QString saved = QStringLiteral("无法保存文件“%1”。\n不是普通文件").arg(pipe);
    // Opening the pipe as a file would wait for a writer for ever: the test
    // would hang until ctest ends it.
    fileAnswers = {pipe};
    Trigger(ID_FILE_OPEN);
    fileAnswers = {pipe};
    Trigger(ID_IMPORT_CSV);
    fileAnswers = {pipe};
    Trigger(ID_EXPORT_CSV);
    fileAnswers = {pipe};
    Trigger(ID_FILE_SAVE);
    QPrinter* printer = App()->Print()->Printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pipe);
    EXPECT_FALSE(App()->Print()->OnFilePrintDirect());
    ASSERT_EQ(messages.size(), 5u);
    EXPECT_EQ(messages[0].text, opened);
    EXPECT_EQ(messages[1].text, opened);
    EXPECT_EQ(messages[2].text, saved);
    EXPECT_EQ(messages[3].text, saved);
    EXPECT_EQ(messages[4].text, saved);
    EXPECT_EQ(Doc()->Title(), "无标题");
}

TEST_F(FileSafety, AFullDiskKeepsTheOldFilesAndSaysSo) {
    if (::mount("tmpfs", dir.path().toUtf8().constData(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here";
    const QString csv = Path("old.csv"), pdf = Path("old.pdf");
    ASSERT_FALSE(WriteFileAtomically(csv.toStdString(), "old,csv\r\n"));
    ASSERT_FALSE(WriteFileAtomically(pdf.toStdString(), "%PDF old"));
    const QString sin = SaveImage("old.sin", NewDocumentImage());
    const QByteArray oldSin = Bytes(sin);
    fileAnswers = {sin};
    Trigger(ID_FILE_OPEN);
    {
        QFile filler(Path("filler"));
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) {
        }
    }
    SetCell(3, 1, "146.00000");
    messages.clear();
    Trigger(ID_FILE_SAVE);
    fileAnswers = {csv};
    Trigger(ID_EXPORT_CSV);
    QPrinter* printer = App()->Print()->Printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdf);
    EXPECT_FALSE(App()->Print()->OnFilePrintDirect());
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, QStringLiteral("无法保存文件“%1”。\n磁盘已满").arg(sin));
    EXPECT_EQ(messages[1].text, QStringLiteral("无法保存文件“%1”。\n磁盘已满").arg(csv));
    EXPECT_EQ(messages[2].text, QStringLiteral("无法保存文件“%1”。\n磁盘已满").arg(pdf));
    EXPECT_EQ(Bytes(sin), oldSin);
    EXPECT_EQ(Bytes(csv), "old,csv\r\n");
    EXPECT_EQ(Bytes(pdf), "%PDF old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 4);  // no temporaries left
    ::umount(dir.path().toUtf8().constData());
}

TEST_F(FileSafety, SavingOverAFileChangedOnDiskAsksFirst) {
    RadioImage other = NewDocumentImage();
    other[0x820] = 0x5A;
    const QString sin = SaveImage("radio.sin", NewDocumentImage());
    fileAnswers = {sin};
    Trigger(ID_FILE_OPEN);
    // Another window saves the same file.
    ASSERT_FALSE(SaveSinFile(sin.toStdString(), other));
    messages.clear();
    answers = {Answer::Cancel};
    Trigger(ID_FILE_SAVE);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("文件“%1”已被其他程序修改。是否覆盖？").arg(sin));
    EXPECT_EQ(messages[0].buttons, Buttons::OverwriteCancel);
    EXPECT_TRUE(messages[0].cancelIsDefault);  // Enter keeps what the other program wrote
    EXPECT_EQ(Load(sin), other);
    answers = {Answer::Ok};
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_NE(Load(sin), other);
    // Saved by this window: the next save asks nothing.
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(messages.size(), 2u);
}

// The CSV export and the printed PDF may not take the place of the open
// document's file, by its own name or through a link: the document would
// still count as saved, and closing the window would lose the channels.
TEST_F(FileSafety, ExportAndPrintNeverReplaceTheOpenDocument) {
    RadioImage image = NewDocumentImage();
    image[0x820] = 0x5A;
    const QString sin = SaveImage("radio.sin", image);
    const QString link = Path("link.sin");
    ASSERT_TRUE(QFile::link(sin, link));
    fileAnswers = {sin};
    Trigger(ID_FILE_OPEN);
    const QByteArray before = Bytes(sin);
    fileAnswers = {sin};
    Trigger(ID_EXPORT_CSV);
    fileAnswers = {link};
    Trigger(ID_EXPORT_CSV);
    QPrinter* printer = App()->Print()->Printer();
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(link);
    EXPECT_FALSE(App()->Print()->OnFilePrintDirect());
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].text, QStringLiteral("“%1”是正在编辑的文件，没有写入任何数据").arg(sin));
    EXPECT_EQ(messages[1].text, QStringLiteral("“%1”是正在编辑的文件，没有写入任何数据").arg(link));
    EXPECT_EQ(messages[2].text, messages[1].text);
    EXPECT_EQ(Bytes(sin), before);
    EXPECT_FALSE(Doc()->IsModified());
    // Beside it, both are written.
    fileAnswers = {Path("radio.csv")};
    Trigger(ID_EXPORT_CSV);
    printer->setOutputFileName(Path("radio.pdf"));
    EXPECT_TRUE(App()->Print()->OnFilePrintDirect());
    EXPECT_EQ(messages.size(), 3u);
    EXPECT_FALSE(Bytes(Path("radio.csv")).isEmpty());
    EXPECT_TRUE(Bytes(Path("radio.pdf")).startsWith("%PDF"));
}

TEST_F(FileSafety, ALongRefusalListFitsTheScreen) {
    QFile bad(Path("bad.csv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("频道,接收频率,发射频率,接收信令,发射信令,宽/窄,扫描添加,发射功率,可选信令,PTTID,繁忙锁定\n");
    for (int i = 0; i < 10000; ++i) bad.write("1,abc,,OFF,OFF,宽,是,高,DTMF,开,关闭\n");
    bad.close();
    fileAnswers = {Path("bad.csv")};
    answers = {Answer::Cancel};
    Trigger(ID_IMPORT_CSV);
    ASSERT_EQ(messages.size(), 1u);  // no line can be imported: nothing to ask
    EXPECT_EQ(messages[0].buttons, Buttons::Ok);
    const QStringList lines = messages[0].text.split('\n');
    EXPECT_EQ(lines.first(), "第 2 行: 接收频率“abc”：输入数据错误，请按正确的格式及大小重新输入");
    EXPECT_TRUE(lines.contains("……另有 9980 个"));
    EXPECT_EQ(lines.last(), "没有导入任何频道，没有做任何修改。");
    EXPECT_LT(lines.size(), 26);
}

TEST_F(FileSafety, AGbkCsvImportsFromTheWindow) {
    QFile gbk(Path("gbk.csv"));
    ASSERT_TRUE(gbk.open(QIODevice::WriteOnly));
    // The header and one channel in GBK, as a spreadsheet saves them.
    gbk.write(
        "\xC6\xB5\xB5\xC0,\xBD\xD3\xCA\xD5\xC6\xB5\xC2\xCA,\xB7\xA2\xC9\xE4\xC6\xB5\xC2\xCA,"
        "\xBD\xD3\xCA\xD5\xD0\xC5\xC1\xEE,\xB7\xA2\xC9\xE4\xD0\xC5\xC1\xEE,\xBF\xED/\xD5\xAD,"
        "\xC9\xA8\xC3\xE8\xCC\xED\xBC\xD3,\xB7\xA2\xC9\xE4\xB9\xA6\xC2\xCA,\xBF\xC9\xD1\xA1\xD0\xC5\xC1\xEE,"
        "PTTID,\xB7\xB1\xC3\xA6\xCB\xF8\xB6\xA8\r\n"
        "4,146,146.5,OFF,OFF,\xBF\xED,\xCA\xC7,\xB8\xDF,DTMF,\xBF\xAA,\xB9\xD8\xB1\xD5\r\n");
    gbk.close();
    fileAnswers = {Path("gbk.csv")};
    Trigger(ID_IMPORT_CSV);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "已导入 1 个频道。\n以下 1 个频道超出频率范围!\n频道 4: 146.00000 / 146.50000");
    EXPECT_EQ(Grid()->TextMatrix(4, 2), "146.50000");
    EXPECT_EQ(Grid()->TextMatrix(4, 7), "高");
}
