// The record of a session of writes: the count, the lines, the summary and
// the CSV file, in either language.
#include <gtest/gtest.h>
#include <iconv.h>

#include "link/WriteLog.h"
#include "support/LanguageScope.h"

namespace {

CloneResult Result(CloneOutcome outcome, int blocks, int radioType) {
    CloneResult r;
    r.outcome = outcome;
    r.blocks = blocks;
    r.radioType = radioType;
    return r;
}

// A session of four radios: two written, one silent, one pulled mid-write.
WriteLog FourRadios() {
    WriteLog log;
    const auto t = LogClock::now();
    log.Add("/dev/pts/1", Result(CloneOutcome::Completed, 264, 0x42), t);
    log.Add("/dev/pts/2", Result(CloneOutcome::NoLink, 0, -1), t);
    log.Add("/dev/pts/3", Result(CloneOutcome::WriteAckMissing, 40, 0xFF), t);
    log.Add("COM4", Result(CloneOutcome::Completed, 264, 0x42), t);
    return log;
}

// `utf8` (without its byte-order mark) as a Chinese spreadsheet saves it again.
std::string AsGb18030(std::string utf8) {
    if (utf8.rfind("\xEF\xBB\xBF", 0) == 0) utf8.erase(0, 3);
    const iconv_t converter = ::iconv_open("GB18030", "UTF-8");
    std::string out(utf8.size() * 2, '\0');
    char* in = utf8.data();
    char* to = out.data();
    std::size_t inLeft = utf8.size(), outLeft = out.size();
    ::iconv(converter, &in, &inLeft, &to, &outLeft);
    ::iconv_close(converter);
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace

TEST(WriteLog, CountsTheRadiosWrittenAndNamesTheFailures) {
    LanguageScope zh(Lang::Zh);
    WriteLog log;
    EXPECT_EQ(log.CountText(), "已写 0 台");
    EXPECT_TRUE(log.AllWritten());
    log = FourRadios();
    EXPECT_EQ(log.WrittenCount(), 2);
    EXPECT_EQ(log.FailedCount(), 2);
    EXPECT_FALSE(log.AllWritten());
    EXPECT_EQ(log.CountText(), "已写 2 台");
    EXPECT_EQ(log.SummaryText(),
              "共 4 台：已写 2 台，失败 2 台\n"
              "/dev/pts/2 失败：通讯错误（已完成 0 块）\n"
              "/dev/pts/3 失败：接收出错中断（已完成 40 块）");
    const std::string line = WriteLog::EntryText(log.Entries()[0]);
    EXPECT_NE(line.find("  /dev/pts/1  识别码 0x42  完成  264 块"), std::string::npos) << line;
    EXPECT_NE(WriteLog::EntryText(log.Entries()[1]).find("识别码 无  通讯错误  0 块"), std::string::npos);
}

TEST(WriteLog, CsvInTheUsersLanguageWithOneHeader) {
    const WriteLog log = FourRadios();
    {
        LanguageScope zh(Lang::Zh);
        const std::string csv = log.Csv();
        EXPECT_EQ(csv.rfind("\xEF\xBB\xBF时间,端口,识别码,结果,块数\r\n", 0), 0u) << csv;
        EXPECT_NE(csv.find(",/dev/pts/3,0xFF,接收出错中断,40\r\n"), std::string::npos) << csv;
        EXPECT_NE(csv.find(",/dev/pts/2,,通讯错误,0\r\n"), std::string::npos) << csv;
    }
    LanguageScope en(Lang::En);
    const std::string csv = log.Csv();
    EXPECT_EQ(csv.rfind("\xEF\xBB\xBFTime,Port,Identification,Outcome,Blocks\r\n", 0), 0u) << csv;
    // A line of its own for every radio; the time sortable as text.
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 5);
    const std::string first = csv.substr(csv.find("\r\n") + 2);
    ASSERT_GE(first.size(), 20u);
    EXPECT_EQ(first[4], '-');
    EXPECT_EQ(first[10], ' ');
    EXPECT_EQ(first.substr(19, 31), ",/dev/pts/1,0x42,Finished,264\r\n");
    // Appending to a file keeps its lines and adds no second header; a file
    // without a final line end gets one first.
    const std::string twice = log.AppendedTo(csv).value();
    EXPECT_EQ(twice.substr(0, csv.size()), csv);
    EXPECT_EQ(std::count(twice.begin(), twice.end(), '\n'), 9);
    EXPECT_EQ(twice.find("Time", 10), std::string::npos);
    const std::string unended = "\xEF\xBB\xBFTime,Port,Identification,Outcome,Blocks";
    EXPECT_EQ(log.AppendedTo(unended).value().substr(unended.size(), 3), "\r\n2");
}

// Lines added to a log are in the language of its header, whatever the
// program speaks now; a file that is not a write log is not added to.
TEST(WriteLog, AppendingKeepsTheFilesLanguageAndLeavesOtherFilesAlone) {
    const WriteLog log = FourRadios();
    std::string english;
    {
        LanguageScope en(Lang::En);
        english = log.Csv();
    }
    LanguageScope zh(Lang::Zh);
    const std::string added = log.AppendedTo(english).value().substr(english.size());
    EXPECT_NE(added.find(",/dev/pts/1,0x42,Finished,264\r\n"), std::string::npos) << added;
    EXPECT_EQ(added.find("完成"), std::string::npos) << added;
    EXPECT_TRUE(IsWriteLogText(""));
    EXPECT_TRUE(IsWriteLogText(english));
    EXPECT_TRUE(IsWriteLogText("时间,端口,识别码,结果,块数\n"));
    for (const std::string& other :
         {std::string(2112, '\xFF'), std::string("频道,接收频率\r\n1,145\r\n"), std::string("Time,Port\r\n")}) {
        EXPECT_FALSE(IsWriteLogText(other));
        EXPECT_FALSE(log.AppendedTo(other));
    }
}

// A log a Chinese spreadsheet saved again in GB18030 keeps its lines, and
// the whole of it is written in UTF-8: no line in a second encoding.
TEST(WriteLog, ALogSavedAgainAsGb18030IsWrittenWholeInUtf8) {
    LanguageScope zh(Lang::Zh);
    const WriteLog log = FourRadios();
    const std::string utf8 = log.Csv();
    const std::string gb = AsGb18030(utf8);
    ASSERT_NE(gb.substr(0, 20), utf8.substr(3, 20));  // the header's Chinese in other bytes
    EXPECT_TRUE(IsWriteLogText(gb));
    EXPECT_EQ(log.AppendedTo(gb), log.AppendedTo(utf8));
}

TEST(WriteLog, PortNamesWithCommasAreQuoted) {
    WriteLog log;
    log.Add("/dev/odd,name", Result(CloneOutcome::Cancelled, 7, 0x01));
    EXPECT_NE(log.Csv().find(",\"/dev/odd,name\",0x01,"), std::string::npos);
}
