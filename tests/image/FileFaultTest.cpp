// Saving when the disk is full, and a save killed half-way: the .sin on disk
// is always either the old file or the new one, whole.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "image/SinFile.h"

namespace fs = std::filesystem;

namespace {

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
    ASSERT_TRUE(SaveSinFile(path, Filled(0x11), nullptr));
    std::mt19937 rng(4);
    for (int round = 0; round < 40; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int i = 0;; ++i) SaveSinFile(path, Filled(i % 2 ? 0x22 : 0x33), nullptr);
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
    fs::remove_all(dir);
}

TEST(FileFaults, SaveOntoAFullDiskFailsAndKeepsTheOldFile) {
    const fs::path dir = FreshDir("full-disk");
    // A tiny file system of its own: one old file fits, a second copy does not.
    if (::mount("tmpfs", dir.c_str(), "tmpfs", 0, "size=4k") != 0) GTEST_SKIP() << "cannot mount a small tmpfs here";
    const std::string path = (dir / "radio.sin").string();
    ASSERT_TRUE(SaveSinFile(path, Filled(0x11), nullptr));
    std::string error;
    EXPECT_FALSE(SaveSinFile(path, Filled(0x22), &error));
    EXPECT_NE(error.find("无法保存"), std::string::npos);
    RadioImage image{};
    ASSERT_TRUE(LoadSinFile(path, image).ok);
    EXPECT_EQ(image, Filled(0x11));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);  // no temporary left
    ::umount(dir.c_str());
    fs::remove_all(dir);
}
