// Saving when the disk is full, and a save killed half-way: the file on disk
// is always either the old file or the new one, whole. Files that are not
// regular files are refused at once, and every failure says why.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "image/FileAccess.h"
#include "image/SinFile.h"

namespace fs = std::filesystem;

namespace {

// The failure in words; empty when there was none.
std::string Why(const std::optional<Failure>& failure) { return failure ? Describe(*failure) : std::string(); }

RadioImage Filled(std::uint8_t value) {
    RadioImage image;
    image.fill(value);
    return image;
}

fs::path FreshDir(const char* name) {
    const fs::path dir = fs::temp_directory_path() / (std::string(name) + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

}  // namespace

TEST(FileFaults, SaveKilledHalfWayNeverLeavesADamagedFile) {
    const fs::path dir = FreshDir("killed-save");
    const std::string path = (dir / "radio.sin").string();
    ASSERT_FALSE(SaveSinFile(path, Filled(0x11)));
    std::mt19937 rng(4);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0;; ++i) SaveSinFile(path, Filled(i % 2 ? 0x22 : 0x33));
        }
        ::usleep(200 + rng() % 3000);
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        ASSERT_EQ(fs::file_size(path), kImageSize) << round;
        RadioImage image{};
        ASSERT_TRUE(LoadSinFile(path, image).ok);
        const std::uint8_t first = image[0];
        ASSERT_TRUE(first == 0x11 || first == 0x22 || first == 0x33);
        for (std::uint8_t b : image) ASSERT_EQ(b, first) << round;
    }
    // The temporary files of the killed saves are gone with the next save.
    ASSERT_FALSE(SaveSinFile(path, Filled(0x44)));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove_all(dir);
}

TEST(FileFaults, ASaveRemovesOnlyTheTemporaryFilesOfEndedSaves) {
    const fs::path dir = FreshDir("orphans");
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string orphan = ".ostreltz-" + std::to_string(ended) + "-0123456789ab.tmp";
    const std::string kept[] = {
        ".ostreltz-" + std::to_string(::getppid()) + "-0123456789ab.tmp",  // its saver still runs
        ".ostreltz-0123456789ab.tmp",                                      // no PID in the name
        ".ostreltz-" + std::to_string(ended) + "-0123456789ab.tmp.bak",
        ".ostreltz-" + std::to_string(ended) + "-xyz.tmp",
        "radio-" + std::to_string(ended) + ".sin",
    };
    for (const std::string& name : kept) std::ofstream(dir / name) << "x";
    std::ofstream(dir / orphan) << "x";
    ASSERT_FALSE(SaveSinFile((dir / "radio.sin").string(), Filled(0x55)));
    EXPECT_FALSE(fs::exists(dir / orphan));
    for (const std::string& name : kept) EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_EQ(TemporaryFileOwner(".ostreltz-42-00000000abcd.tmp"), 42);
    EXPECT_EQ(TemporaryFileOwner(".ostreltz--00000000abcd.tmp"), 0);
    EXPECT_EQ(TemporaryFileOwner(".ostreltz-42-00000000ABCD.tmp"), 0);
    fs::remove_all(dir);
}

TEST(FileFaults, SaveOntoAFullDiskFailsAndKeepsTheOldFile) {
    const fs::path dir = FreshDir("full-disk");
    // A tiny file system of its own: one old file fits, a second copy does not.
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=4k") != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
    const std::string path = (dir / "radio.sin").string();
    ASSERT_FALSE(SaveSinFile(path, Filled(0x11)));
    EXPECT_EQ(Why(SaveSinFile(path, Filled(0x22))), "无法保存文件“" + path + "”。\n磁盘已满");
    RadioImage image{};
    ASSERT_TRUE(LoadSinFile(path, image).ok);
    EXPECT_EQ(image, Filled(0x11));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left
    ::umount(dir.c_str());
    fs::remove_all(dir);
}

namespace {

// A tiny file system of its own under `dir`, or nothing when mounting is not
// allowed here.
bool MountTiny(const fs::path& dir, const char* options) {
    return ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
}

}  // namespace

TEST(FileFaults, ANamedPipeIsRefusedAtOnceForReadingAndWriting) {
    const fs::path dir = FreshDir("fifo");
    const std::string pipe = (dir / "x.sin").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    // Opening the pipe as a file would wait for a writer for ever: the test
    // would hang until ctest ends it.
    RadioImage image = Filled(0x11);
    const SinLoadResult loaded = LoadSinFile(pipe, image);
    EXPECT_FALSE(loaded.ok);
    EXPECT_EQ(Describe(loaded.error), "无法打开文件“" + pipe + "”。\n不是普通文件");
    EXPECT_EQ(image, Filled(0x11));
    EXPECT_EQ(Why(SaveSinFile(pipe, image)), "无法保存文件“" + pipe + "”。\n不是普通文件");
    EXPECT_TRUE(WriteFileAtomically(pipe, "csv"));
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    // A folder and a device say what they are.
    EXPECT_EQ(Describe(ReadRegularFile(dir.string(), 100, true).error),
              "无法打开文件“" + dir.string() + "”。\n这是一个文件夹，不是文件");
    EXPECT_EQ(Why(WriteFileAtomically("/dev/full", "x")), "无法保存文件“/dev/full”。\n不是普通文件");
    fs::remove_all(dir);
}

TEST(FileFaults, EveryFailureSaysWhy) {
    const fs::path dir = FreshDir("reasons");
    const std::string missing = (dir / "no-folder" / "x.csv").string();
    EXPECT_EQ(Why(WriteFileAtomically(missing, "x")), "无法保存文件“" + missing + "”。\n文件或文件夹不存在");
    EXPECT_EQ(Describe(ReadRegularFile(missing, 10, false).error),
              "无法打开文件“" + missing + "”。\n文件或文件夹不存在");
    const std::string underAFile = (dir / "a-file.csv" / "x.sin").string();
    ASSERT_FALSE(WriteFileAtomically((dir / "a-file.csv").string(), "x"));
    EXPECT_EQ(Why(WriteFileAtomically(underAFile, "x")),
              "无法保存文件“" + underAFile + "”。\n路径中有一段是文件，不是文件夹");
    fs::remove(dir / "a-file.csv");
    const std::string tooLong = (dir / (std::string(256, 'n') + ".sin")).string();
    EXPECT_EQ(Why(WriteFileAtomically(tooLong, "x")), "无法保存文件“" + tooLong + "”。\n文件名太长");
    const std::string big = (dir / "big.csv").string();
    ASSERT_FALSE(WriteFileAtomically(big, std::string(101, 'x')));
    EXPECT_EQ(Describe(ReadRegularFile(big, 100, true).error), "无法打开文件“" + big + "”。\n文件太大");
    EXPECT_EQ(ReadRegularFile(big, 100, false).bytes.size(), 100u);
    EXPECT_EQ(ReadRegularFile(big, 200, true).bytes, std::string(101, 'x'));

    if (MountTiny(dir, "size=64k")) {
        const std::string kept = (dir / "kept.csv").string();
        ASSERT_FALSE(WriteFileAtomically(kept, "old"));
        ASSERT_EQ(::mount("tmpfs", dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0);
        EXPECT_EQ(Why(WriteFileAtomically(kept, "new")), "无法保存文件“" + kept + "”。\n文件系统只读");
        EXPECT_EQ(ReadRegularFile(kept, 10, false).bytes, "old");
        ::umount(dir.c_str());
    }
    // The superuser passes every permission check, yet these take no new file.
    for (const std::string special : {"/proc/x.sin", "/sys/x.sin"})
        EXPECT_EQ(Why(CheckSavePlace(special)).rfind("无法保存文件", 0), 0u) << special;
    EXPECT_FALSE(CheckSavePlace(big)) << "the look leaves nothing behind";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    if (::geteuid() != 0) {
        const std::string locked = (dir / "locked.csv").string();
        ASSERT_FALSE(WriteFileAtomically(locked, "old"));
        fs::permissions(locked, fs::perms::owner_read);
        EXPECT_EQ(Why(WriteFileAtomically(locked, "new")), "无法保存文件“" + locked + "”。\n没有权限");
    }
    fs::remove_all(dir);
}

TEST(FileFaults, ALinkStaysALinkAndAFileKeepsItsPermissions) {
    const fs::path dir = FreshDir("nature");
    fs::create_directories(dir / "real");
    const fs::path target = dir / "real" / "radio.sin";
    ASSERT_FALSE(SaveSinFile(target.string(), Filled(0x11)));
    ::chmod(target.c_str(), 0600);
    fs::create_symlink("real/radio.sin", dir / "link.sin");
    ASSERT_FALSE(SaveSinFile((dir / "link.sin").string(), Filled(0x22)));
    EXPECT_TRUE(fs::is_symlink(dir / "link.sin"));
    EXPECT_EQ(fs::read_symlink(dir / "link.sin"), "real/radio.sin");
    RadioImage image{};
    ASSERT_TRUE(LoadSinFile(target.string(), image).ok);
    EXPECT_EQ(image, Filled(0x22));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "real"), fs::directory_iterator()), 1);
    // A new file gets the usual permissions, not those of a private temporary.
    const mode_t mask = ::umask(022);
    ASSERT_FALSE(SaveSinFile((dir / "new.sin").string(), Filled(0x33)));
    ::umask(mask);
    ASSERT_EQ(::stat((dir / "new.sin").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    fs::remove_all(dir);
}

TEST(FileFaults, ALongLegalNameCanBeSaved) {
    const fs::path dir = FreshDir("long-name");
    const std::string path = (dir / (std::string(236, 'a') + ".sin")).string();
    ASSERT_FALSE(SaveSinFile(path, Filled(0x44)));
    RadioImage image{};
    ASSERT_TRUE(LoadSinFile(path, image).ok);
    EXPECT_EQ(image, Filled(0x44));
    fs::remove_all(dir);
}

TEST(FileFaults, FileStampSeesAChange) {
    const fs::path dir = FreshDir("stamp");
    const std::string path = (dir / "radio.sin").string();
    EXPECT_FALSE(StampOf(path).exists);
    ASSERT_FALSE(SaveSinFile(path, Filled(0x11)));
    const FileStamp first = StampOf(path);
    EXPECT_TRUE(first.exists);
    EXPECT_EQ(StampOf(path), first);
    ASSERT_FALSE(WriteFileAtomically(path, "shorter"));
    EXPECT_NE(StampOf(path), first);
    fs::remove_all(dir);
}
