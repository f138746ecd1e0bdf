// The window's file commands against files that are not files, a full disk
// and a file changed by another program: nothing hangs, nothing is lost, and
// every failure says why.
#include <QElapsedTimer>
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
    QElapsedTimer timer;
    timer.start();
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
    EXPECT_LT(timer.elapsed(), 1000);
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
    ASSERT_TRUE(WriteFileAtomically(csv.toStdString(), "old,csv\r\n", nullptr));
    ASSERT_TRUE(WriteFileAtomically(pdf.toStdString(), "%PDF old", nullptr));
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
    View()->SetCellText(3, 1, "146.00000");
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
    ASSERT_TRUE(SaveSinFile(sin.toStdString(), other, nullptr));
    messages.clear();
    answers = {Answer::Cancel};
    Trigger(ID_FILE_SAVE);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, QStringLiteral("文件“%1”已被其他程序修改。是否覆盖？").arg(sin));
    EXPECT_EQ(messages[0].buttons, Buttons::OverwriteCancel);
    EXPECT_EQ(Load(sin), other);
    answers = {Answer::Ok};
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_NE(Load(sin), other);
    // Saved by this window: the next save asks nothing.
    Trigger(ID_FILE_SAVE);
    EXPECT_EQ(messages.size(), 2u);
}
