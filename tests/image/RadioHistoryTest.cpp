// The radio history in a real folder: entries written whole, listed newest
// first, capped by count and by size, and damaged entries left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "history/RadioHistory.h"
#include "image/ChannelTable.h"
#include "support/LanguageScope.h"
#include "support/RandomImage.h"

namespace fs = std::filesystem;

namespace {

class History : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("history-" + std::to_string(::getpid()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::vector<std::string> Files() const { return Files(m_dir); }
    static std::vector<std::string> Files(const fs::path& folder) {
        std::vector<std::string> files;
        std::error_code ec;
        for (const auto& f : fs::directory_iterator(folder, ec)) files.push_back(f.path().filename().string());
        std::sort(files.begin(), files.end());
        return files;
    }

    fs::path m_dir;
};

constexpr long long kNoon = 1765281600000LL;  // 2025-12-09 12:00:00 UTC

}  // namespace

TEST_F(History, AReadAndAWriteAreKeptWithWhatTheyWereAndListedNewestFirst) {
    FolderHistoryStore store((m_dir / "ostreltz" / "history").string());
    RadioHistory history(store);
    const RadioImage radio = RandomValidImage(7);
    int inUse = 0;
    for (int n = 1; n <= kChannelCount; ++n) inUse += ChannelInUse(RecordAt(radio, n));
    ASSERT_FALSE(history.Record(radio, false, "/dev/ttyUSB0", 0x42, kNoon));
    ASSERT_FALSE(history.Record(NewDocumentImage(), true, "COM3", 0xFF, kNoon + 61123));

    const auto entries = history.List();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, "20251209-120101-123-write");
    EXPECT_TRUE(entries[0].write);
    EXPECT_EQ(entries[0].port, "COM3");
    EXPECT_EQ(entries[0].channels, 0);
    EXPECT_EQ(entries[1].name, "20251209-120000-000-read");
    EXPECT_FALSE(entries[1].write);
    EXPECT_EQ(entries[1].port, "/dev/ttyUSB0");
    EXPECT_EQ(entries[1].radioType, 0x42);
    EXPECT_EQ(entries[1].channels, inUse);
    EXPECT_EQ(entries[1].timeMs, kNoon);
    EXPECT_EQ(history.Image(entries[1].name), radio);
    // The image is a .sin file like any other, no temporary file is left.
    EXPECT_EQ(fs::file_size(m_dir / "ostreltz" / "history" / "20251209-120000-000-read.sin"), kImageSize);
    EXPECT_EQ(Files(m_dir / "ostreltz" / "history"),
              (std::vector<std::string>{"20251209-120000-000-read.sin", "20251209-120000-000-read.txt",
                                        "20251209-120101-123-write.sin", "20251209-120101-123-write.txt"}));
}

TEST_F(History, TwoEntriesInTheSameMillisecondKeepBoth) {
    FolderHistoryStore store(m_dir.string());
    RadioHistory history(store);
    ASSERT_FALSE(history.Record(RandomImage(1), false, "a", 1, kNoon));
    ASSERT_FALSE(history.Record(RandomImage(2), false, "b", 2, kNoon));
    const auto entries = history.List();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(history.Image(entries[0].name), RandomImage(2));
    EXPECT_EQ(history.Image(entries[1].name), RandomImage(1));
}

TEST_F(History, TheOldestEntriesGoBeyondTheCountAndTheSize) {
    FolderHistoryStore store(m_dir.string());
    {
        RadioHistory history(store, HistoryLimits{3, 1u << 30});
        for (int i = 0; i < 5; ++i) ASSERT_FALSE(history.Record(RandomImage(i), false, "p", 0, kNoon + i * 1000));
        const auto entries = history.List();
        ASSERT_EQ(entries.size(), 3u);
        EXPECT_EQ(history.Image(entries[2].name), RandomImage(2));
        EXPECT_EQ(Files().size(), 6u);
    }
    // Room for two entries of 2112 bytes and their facts, not three.
    RadioHistory small(store, HistoryLimits{500, 2 * (kImageSize + 120)});
    ASSERT_FALSE(small.Record(RandomImage(9), true, "p", 0, kNoon + 9000));
    const auto entries = small.List();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(small.Image(entries[0].name), RandomImage(9));
    EXPECT_EQ(small.Image(entries[1].name), RandomImage(4));
}

// A folder on a disk that takes no more files once it holds `full`.
class FullDiskStore : public FolderHistoryStore {
public:
    FullDiskStore(const std::string& folder, std::size_t full) : FolderHistoryStore(folder), m_full(full) {}
    std::optional<Failure> Write(const std::string& name, std::string_view bytes) override {
        if (Names().size() >= m_full) return Fail(TextId::FileDiskFull);
        return FolderHistoryStore::Write(name, bytes);
    }

private:
    std::size_t m_full;
};

TEST_F(History, AStoreFilledBeyondTheLimitsMakesRoomForTheNewEntry) {
    FolderHistoryStore roomy(m_dir.string());
    RadioHistory before(roomy, HistoryLimits{10, 1u << 30});
    for (int i = 0; i < 5; ++i) ASSERT_FALSE(before.Record(RandomImage(i), false, "p", 0, kNoon + i * 1000));
    FullDiskStore full(m_dir.string(), 10);
    RadioHistory history(full, HistoryLimits{3, 1u << 30});
    EXPECT_FALSE(history.Record(RandomImage(9), false, "p", 0, kNoon + 9000));
    const auto entries = history.List();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(history.Image(entries[0].name), RandomImage(9));
    EXPECT_EQ(history.Image(entries[2].name), RandomImage(3));
}

TEST_F(History, DamagedOrHalfWrittenEntriesAreLeftOutAndAPortCannotBreakTheFacts) {
    FolderHistoryStore store(m_dir.string());
    RadioHistory history(store);
    ASSERT_FALSE(history.Record(RandomImage(1), false, "/dev/tty\nUSB0", 0, kNoon));
    fs::create_directories(m_dir);
    std::ofstream(m_dir / "20251209-130000-000-read.sin") << "short";
    std::ofstream(m_dir / "20251209-130000-000-read.txt")
        << "time=1765285200000\ndirection=read\nport=x\ntype=0\nchannels=0\n";
    std::ofstream(m_dir / "20251209-140000-000-read.txt") << "time=1\ndirection=read\nport=x\ntype=0\nchannels=0\n";
    std::ofstream(m_dir / "20251209-150000-000-read.sin") << std::string(kImageSize, '\xFF');
    std::ofstream(m_dir / "20251209-150000-000-read.txt") << "time=1\ndirection=sideways\nport=x\ntype=0\nchannels=0\n";
    const auto entries = history.List();
    ASSERT_EQ(entries.size(), 2u);  // the one recorded and the short image, whose image then cannot be opened
    EXPECT_FALSE(history.Image("20251209-130000-000-read"));
    const auto recorded =
        std::find_if(entries.begin(), entries.end(), [](const HistoryEntry& e) { return e.timeMs == kNoon; });
    ASSERT_NE(recorded, entries.end());
    EXPECT_EQ(recorded->port, "/dev/tty?USB0");
}

TEST_F(History, AFolderThatCannotBeMadeSaysWhy) {
    std::ofstream(m_dir.string()) << "a file where the folder should be";
    FolderHistoryStore store((m_dir / "history").string());
    RadioHistory history(store);
    const std::optional<Failure> failure = history.Record(NewDocumentImage(), false, "p", 0, kNoon);
    ASSERT_TRUE(failure);
    EXPECT_NE(Describe(*failure).find((m_dir / "history").string()), std::string::npos) << Describe(*failure);
    EXPECT_TRUE(history.List().empty());
    fs::remove(m_dir);
}

TEST(HistoryText, FolderAndListingLine) {
    EXPECT_EQ(HistoryFolder("/x/data", "/home/u"), "/x/data/ostreltz/history");
    EXPECT_EQ(HistoryFolder("", "/home/u"), "/home/u/.local/share/ostreltz/history");
    EXPECT_EQ(HistoryFolder(nullptr, "/home/u"), "/home/u/.local/share/ostreltz/history");
    LanguageScope zh(Lang::Zh);
    HistoryEntry e;
    e.timeMs = kNoon;
    e.port = "COM1";
    e.radioType = 0x0A;
    e.channels = 6;
    const std::string line = HistoryLine(e, 1);
    EXPECT_EQ(line, "1  " + HistoryTimeText(kNoon) + "  读频  COM1  识别码 0x0A  6 个频道");
}
