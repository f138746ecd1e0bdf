// ostreltz-cli diff: its lines, its JSON and its exit codes, run as a script would.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "image/SinFile.h"
#include "support/TestFolder.h"
#include "support/SimProcess.h"
#include "support/CliCommand.h"

namespace fs = std::filesystem;

namespace {

class CliDiff : public ::testing::Test {
protected:
    void SetUp() override { m_dir = FreshTestFolder("cli-diff"); }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Save(const std::string& name, const RadioImage& image) {
        const std::string path = (m_dir / name).string();
        EXPECT_FALSE(SaveSinFile(path, image));
        return path;
    }
    static int Diff(const std::string& args, std::string* out) { return RunCommand(CliCommand("diff " + args), out); }

    fs::path m_dir;
};

}  // namespace

TEST_F(CliDiff, SameFilesExitZeroAndDifferentOnesListEachDifference) {
    RadioImage sample{};
    ASSERT_TRUE(LoadSinFile(OSTRELTZ_SAMPLE, sample).ok);
    RadioImage changed = sample;
    changed[addr::kSquelch] = static_cast<std::uint8_t>((sample[addr::kSquelch] + 1) % 10);
    changed[addr::kRadioType] ^= 0x01;
    const std::string a = Save("a.sin", sample), b = Save("b.sin", changed);
    std::string out;
    EXPECT_EQ(Diff(a + " " + a, &out), 0) << out;
    EXPECT_EQ(out, "");
    EXPECT_EQ(Diff(a + " " + b, &out), 1) << out;
    EXPECT_NE(out.find("静噪等级(SQ): "), std::string::npos) << out;
    EXPECT_NE(out.find("字节 0x81B: "), std::string::npos) << out;
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 2) << out;

    EXPECT_EQ(Diff(a + " " + b + " --json", &out), 1) << out;
    EXPECT_EQ(out.front(), '[');
    EXPECT_NE(out.find("\"field\": \"LabelSquelch\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"en\": \"Squelch level (SQ)\""), std::string::npos) << out;
    EXPECT_NE(out.find("\"offsets\": [2075]"), std::string::npos) << out;
    EXPECT_EQ(Diff(a + " " + a + " --json", &out), 0);
    EXPECT_EQ(out, "[]\n");
}

TEST_F(CliDiff, EmptyRowBytesCountOnlyWithBytes) {
    const RadioImage fresh = NewDocumentImage();
    RadioImage saved = fresh;
    for (int n = 1; n <= kChannelCount; ++n) {
        saved[ChannelOffset(n) + 12] = 0x00;
        saved[ChannelOffset(n) + 13] = 0xC5;
        saved[ChannelOffset(n) + 14] = 0xFE;
    }
    const std::string a = Save("fresh.sin", fresh), b = Save("saved.sin", saved);
    std::string out;
    EXPECT_EQ(Diff(a + " " + b, &out), 0) << out;
    EXPECT_EQ(Diff(a + " " + b + " --bytes", &out), 1);
    EXPECT_NE(out.find("频道 1 字节 0x00C: FF → 00"), std::string::npos) << out;
}

TEST_F(CliDiff, AFileThatCannotBeReadOrWrongArgumentsExitTwo) {
    const std::string a = Save("a.sin", NewDocumentImage());
    std::string out;
    EXPECT_EQ(Diff(a + " " + (m_dir / "missing.sin").string(), &out), 2);
    EXPECT_NE(out.find("missing.sin"), std::string::npos) << out;
    EXPECT_EQ(Diff(a, &out), 2);
    EXPECT_EQ(Diff(a + " " + a + " --colour", &out), 2);
}
