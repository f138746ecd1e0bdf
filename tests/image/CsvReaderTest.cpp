#include <gtest/gtest.h>

#include "image/CsvReader.h"

namespace {

using Fields = std::vector<std::string>;

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
