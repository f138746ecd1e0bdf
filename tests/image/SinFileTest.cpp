#include <gtest/gtest.h>

#include <cstdlib>

#include "support/TestFolder.h"
#include "support/RandomImage.h"

#include <filesystem>
#include <fstream>
#include <random>

#include <unistd.h>

#include "image/SinFile.h"

namespace fs = std::filesystem;

namespace {

class SinFileTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = FreshTestFolder("sin-test"); }
    void TearDown() override {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, ec);
        fs::remove_all(m_dir, ec);
    }
    std::string File(const std::string& name, std::size_t size, std::uint8_t fill) {
        std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << std::string(size, static_cast<char>(fill));
        return path;
    }
    fs::path m_dir;
};

}  // namespace

TEST_F(SinFileTest, NewDocumentDefaults) {
    RadioImage image = NewDocumentImage();
    int notFF = 0;
    for (std::size_t i = 0; i < kImageSize; ++i) notFF += image[i] != 0xFF;
    EXPECT_EQ(notFF, 14);
    EXPECT_EQ(image[0x81B], 0xFF);
    EXPECT_EQ(image[0x812], 0xD7);
}

TEST_F(SinFileTest, SaveAndLoadAreByteExact) {
    const RadioImage image = RandomImage(1);
    const std::string path = (m_dir / "a.sin").string();
    ASSERT_FALSE(SaveSinFile(path, image));
    EXPECT_EQ(fs::file_size(path), 2112u);
    RadioImage loaded = NewDocumentImage();
    ASSERT_TRUE(LoadSinFile(path, loaded).ok);
    EXPECT_EQ(loaded, image);
    // Nothing but the file itself is left behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(SinFileTest, ShortFileIsRefusedAndLeavesTheImageAlone) {
    const RadioImage before = RandomImage(2);
    RadioImage image = before;
    SinLoadResult r = LoadSinFile(File("short.sin", 100, 0x11), image);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(Describe(r.error).find("100"), std::string::npos);
    EXPECT_EQ(image, before);
    r = LoadSinFile(File("almost.sin", 2111, 0x11), image);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(image, before);
}

TEST_F(SinFileTest, EmptyFileOpensAndChangesNothing) {
    const RadioImage before = RandomImage(3);
    RadioImage image = before;
    SinLoadResult r = LoadSinFile(File("empty.sin", 0, 0), image);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.empty);
    EXPECT_EQ(image, before);
}

TEST_F(SinFileTest, LongerFileLoadsItsFirst2112BytesAndSaysSo) {
    std::string path = File("long.sin", 2113, 0x22);
    RadioImage image = NewDocumentImage();
    SinLoadResult r = LoadSinFile(path, image);
    ASSERT_TRUE(r.ok);
    for (auto b : image) ASSERT_EQ(b, 0x22);
    ASSERT_TRUE(r.warning);
    EXPECT_EQ(Describe(*r.warning),
              "文件“" + path + "”比写频数据多出 1 字节：只读入了前 2112 字节，多出的部分被忽略。");
    EXPECT_TRUE(!LoadSinFile(File("exact.sin", 2112, 0x33), image).warning);
    r = LoadSinFile(File("largest.sin", kLargestSin, 0x44), image);
    EXPECT_TRUE(r.ok);
    ASSERT_TRUE(r.warning);
    EXPECT_NE(Describe(*r.warning).find(std::to_string(kLargestSin - 2112)), std::string::npos);
    // Past 1 MiB nothing is radio data, however the file came to be that size
    // (a sparse file of 20 GB is read no further than its size).
    const RadioImage before = image;
    for (const std::uintmax_t size : {std::uintmax_t{kLargestSin + 1}, std::uintmax_t{20} << 30}) {
        const std::string huge = File("huge.sin", 0, 0);
        fs::resize_file(huge, size);
        r = LoadSinFile(huge, image);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(Describe(r.error), "无法打开文件“" + huge + "”。\n文件太大");
        EXPECT_EQ(image, before);
    }
}

TEST_F(SinFileTest, MissingFileIsReported) {
    RadioImage image = NewDocumentImage();
    SinLoadResult r = LoadSinFile((m_dir / "none.sin").string(), image);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.lines.empty());
}

TEST_F(SinFileTest, FailedSaveLeavesTheOldFileIntact) {
    const RadioImage old = RandomImage(4);
    const std::string path = (m_dir / "keep.sin").string();
    ASSERT_FALSE(SaveSinFile(path, old));
    fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
    const std::optional<Failure> failure = SaveSinFile(path, RandomImage(5));
    const bool saved = !failure;
    fs::permissions(m_dir, fs::perms::owner_all);
    if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
    EXPECT_FALSE(saved);
    EXPECT_TRUE(failure);
    RadioImage loaded{};
    ASSERT_TRUE(LoadSinFile(path, loaded).ok);
    EXPECT_EQ(loaded, old);
}

// A save makes its new file beside the old one: in a folder that takes no
// new file the message names the folder, even though the file itself could
// be written, and the old file is kept.
TEST_F(SinFileTest, AFolderThatTakesNoNewFileIsNamedInTheMessage) {
    const RadioImage old = RandomImage(4);
    const std::string path = (m_dir / "keep.sin").string();
    ASSERT_FALSE(SaveSinFile(path, old));
    const std::string lock = "chattr +i '" + m_dir.string() + "' 2>/dev/null";
    if (std::system(lock.c_str()) != 0) GTEST_SKIP() << "no immutable folders here";
    const std::optional<Failure> failure = SaveSinFile(path, RandomImage(5));
    const std::string unlock = "chattr -i '" + m_dir.string() + "'";
    ASSERT_EQ(std::system(unlock.c_str()), 0);
    ASSERT_TRUE(failure);
    EXPECT_EQ(Describe(*failure), "无法保存文件“" + path + "”。\n没有在文件夹“" + m_dir.string() + "”中新建文件的权限");
    RadioImage loaded{};
    ASSERT_TRUE(LoadSinFile(path, loaded).ok);
    EXPECT_EQ(loaded, old);
}

TEST_F(SinFileTest, SaveOntoAFolderFailsAndLeavesNoTemporaryFile) {
    fs::create_directory(m_dir / "taken.sin");
    EXPECT_TRUE(SaveSinFile((m_dir / "taken.sin").string(), NewDocumentImage()));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(SinFileTest, SaveIntoMissingFolderFails) {
    const std::optional<Failure> failure = SaveSinFile((m_dir / "no" / "x.sin").string(), NewDocumentImage());
    ASSERT_TRUE(failure);
    EXPECT_NE(Describe(*failure).find("无法保存"), std::string::npos);
}

TEST(SinFileNames, RadioDataIsNamedBySinInAnyCaseAndASaveAddsItOnlyWithoutAnExtension) {
    for (const char* name : {"a.sin", "B.SIN", "dir/c.Sin", ".sin"}) EXPECT_TRUE(IsSinName(name)) << name;
    for (const char* name : {"a.sin.csv", "sin", "a.si", ""}) EXPECT_FALSE(IsSinName(name)) << name;
    EXPECT_EQ(WithSinExtension("无标题"), "无标题.sin");
    EXPECT_EQ(WithSinExtension("club.SIN"), "club.SIN");
    EXPECT_EQ(WithSinExtension("club.bak"), "club.bak");
    EXPECT_EQ(WithSinExtension("v1.2/club"), "v1.2/club.sin");
    EXPECT_EQ(WithSinExtension("club."), "club.sin");
}
