#include <gtest/gtest.h>

#include "csv/CsvReader.h"

namespace {

using Fields = std::vector<std::string>;
using namespace std::string_literals;

std::vector<int> LinesOf(const std::vector<CsvRecord>& records) {
    std::vector<int> lines;
    for (const CsvRecord& r : records) lines.push_back(r.line);
    return lines;
}

}  // namespace

TEST(CsvReader, QuotedFieldsHoldCommasQuotesAndLineBreaks) {
    const auto records = ReadCsvRecords("a,\"b,c\",\"say \"\"hi\"\"\"\n\"two\nlines\",x\n\"\",\"\"\n");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].fields, (Fields{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(records[1].fields, (Fields{"two\nlines", "x"}));
    EXPECT_EQ(records[2].fields, (Fields{"", ""}));
    // The record after a quoted line break starts on the file's third line.
    EXPECT_EQ(LinesOf(records), (std::vector<int>{1, 2, 4}));
}

TEST(CsvReader, LineEndsByteOrderMarkAndBlankLines) {
    const std::vector<int> lines{1, 2, 3};
    for (const std::string& text : {std::string("h,i\r\n1,2\r\n3,4\r\n"), std::string("h,i\n1,2\n3,4"),
                                    std::string("h,i\r1,2\r3,4\r"), std::string("\xEF\xBB\xBFh,i\r\n1,2\n3,4\r")}) {
        const auto records = ReadCsvRecords(text);
        ASSERT_EQ(records.size(), 3u) << text;
        EXPECT_EQ(records[0].fields, (Fields{"h", "i"})) << text;
        EXPECT_EQ(records[2].fields, (Fields{"3", "4"})) << text;
        EXPECT_EQ(LinesOf(records), lines) << text;
    }
    // Blank lines are skipped but counted; a quoted empty line is a record.
    const auto records = ReadCsvRecords("h\n\n  \t\n\"\"\r\n\r\nlast,\n");
    EXPECT_EQ(LinesOf(records), (std::vector<int>{1, 4, 6}));
    EXPECT_EQ(records[2].fields, (Fields{"last", ""}));
    EXPECT_TRUE(ReadCsvRecords("").empty());
    EXPECT_TRUE(ReadCsvRecords("\xEF\xBB\xBF\r\n\n").empty());
    // A mark anywhere but at the start is text.
    EXPECT_EQ(ReadCsvRecords("a\xEF\xBB\xBF").front().fields, (Fields{"a\xEF\xBB\xBF"}));
}

TEST(CsvReader, ColumnsFoundByNameAndFieldsTrimmed) {
    const auto records = ReadCsvRecords(" Location ,Name,\tFrequency\n 7 ,\" A B \"\n");
    EXPECT_EQ(CsvColumnIndex(records[0], "Location"), 0);
    EXPECT_EQ(CsvColumnIndex(records[0], "Frequency"), 2);
    EXPECT_EQ(CsvColumnIndex(records[0], "Duplex"), -1);
    EXPECT_EQ(CsvField(records[1], 0), "7");
    EXPECT_EQ(CsvField(records[1], 1), "A B");
    EXPECT_EQ(CsvField(records[1], 2), "");  // the record is shorter than the header
    EXPECT_EQ(CsvField(records[1], -1), "");
}

TEST(CsvReader, AFileInGb18030ReadsLikeUtf8) {
    // "频道,名称" and "1,中文" in GB18030 (GBK's two-byte forms).
    const std::string gbk = "\xC6\xB5\xB5\xC0,\xC3\xFB\xB3\xC6\r\n1,\xD6\xD0\xCE\xC4\r\n";
    const CsvFileReading reading = ReadCsvFile(gbk);
    ASSERT_EQ(reading.refusedLine, 0) << reading.refusal;
    ASSERT_EQ(reading.records.size(), 2u);
    EXPECT_EQ(reading.records[0].fields, (Fields{"频道", "名称"}));
    EXPECT_EQ(reading.records[1].fields, (Fields{"1", "中文"}));
    // UTF-8 with or without the byte-order mark is taken as it is.
    EXPECT_EQ(ReadCsvFile("\xEF\xBB\xBF频道\n1\n").records[0].fields, (Fields{"频道"}));
    EXPECT_EQ(ReadCsvFile("频道\n1\n").records[1].fields, (Fields{"1"}));
}

TEST(CsvReader, BytesThatAreNoTextAreRefusedWithTheirLine) {
    const CsvFileReading nul = ReadCsvFile("a,b\r\nc,d\r\ne\0f\r\n"s);
    EXPECT_EQ(nul.refusedLine, 3);
    EXPECT_EQ(nul.refusal, "含有 NUL 字节，不是文本文件");
    EXPECT_TRUE(nul.records.empty());
    // 0x80 alone is neither UTF-8 nor GB18030; 0xFF never occurs in either.
    const CsvFileReading bad = ReadCsvFile("a\nb\nc\x80\n");
    EXPECT_EQ(bad.refusedLine, 3);
    EXPECT_EQ(bad.refusal, "无法识别的字符：文件应为 UTF-8 或 GB18030 编码");
    EXPECT_EQ(ReadCsvFile("a\r\xFF\n").refusedLine, 2);
    // The line named is where the file's own encoding breaks: a UTF-8 file's
    // stray byte after its Chinese lines, a GB18030 file's after its own.
    EXPECT_EQ(ReadCsvFile("Location,Name\n1,\xE4\xB8\xAD\xE6\x96\x87\n2,\xE4\xB8\xAD\n3,\xFF\n").refusedLine, 4);
    EXPECT_EQ(ReadCsvFile("\xC6\xB5\xB5\xC0\n1,\xD6\xD0\n2,\xFF\n").refusedLine, 3);
    // A byte-order mark says UTF-8: the mark is not read as GB18030 text.
    EXPECT_EQ(ReadCsvFile("\xEF\xBB\xBFLocation,Name\r\n1,\xA1\xA1\r\n").refusedLine, 2);
    const CsvFileReading quote = ReadCsvFile("a,b\n1,\"open\n2,3\n");
    EXPECT_EQ(quote.refusedLine, 2);
    EXPECT_EQ(quote.refusal, "引号没有结束");
    EXPECT_TRUE(quote.records.empty());
    EXPECT_EQ(ReadCsvFile("a,\"b\nc\"\n").refusedLine, 0);
}
