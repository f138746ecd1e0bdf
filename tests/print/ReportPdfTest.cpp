// The report rendered to a real PDF and read back with pdftotext.
#include <gtest/gtest.h>

#include <filesystem>

#include "image/SinFile.h"
#include "support/SimProcess.h"

namespace fs = std::filesystem;

TEST(ReportPdf, FivePagesWithTheChineseLabelsAndChannels) {
    const fs::path dir = fs::temp_directory_path() / ("report-pdf-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string pdf = (dir / "report.pdf").string();
    std::string log;
    ASSERT_EQ(RunCommand(std::string(OSTRELTZ_CLI) + " --lang zh print " + OSTRELTZ_SAMPLE + " --pdf " + pdf, &log), 0) << log;
    ASSERT_EQ(RunCommand("pdfinfo " + pdf, &log), 0) << log;
    EXPECT_NE(log.find("Pages:           5"), std::string::npos) << log;
    ASSERT_EQ(RunCommand("pdftotext -layout " + pdf + " -", &log), 0);
    for (const char* text : {"整机设置", "功能设置:", "机型:", "OST - 101", "136 - 174MHz", "报警音提示: 打开", "发射时间(s):60",
                             "频道设置:", "接收频率", "第二页", "第三页", "第四页", "第五页", "145.52000", "D754I", "队列同步",
                             "128"})
        EXPECT_NE(log.find(text), std::string::npos) << text;
    fs::remove_all(dir);
}
