#include "image/SinFile.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A name beside the target that no other save of this process uses.
fs::path TemporaryBeside(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temp = target;
    temp += ".saving-" + std::to_string(stamp) + "-" + std::to_string(counter++);
    return temp;
}

}  // namespace

SinLoadResult LoadSinFile(const std::string& path, RadioImage& image) {
    SinLoadResult result;
    std::ifstream in(fs::u8path(path), std::ios::binary);
    if (!in) {
        result.error = "无法打开文件“" + path + "”。";
        return result;
    }
    std::vector<char> bytes(kImageSize);
    in.read(bytes.data(), static_cast<std::streamsize>(kImageSize));
    const std::size_t got = static_cast<std::size_t>(in.gcount());
    if (in.bad()) {
        result.error = "读取文件“" + path + "”时出错。";
        return result;
    }
    if (got == 0) {
        result.ok = true;
        result.empty = true;
        return result;
    }
    if (got < kImageSize) {
        result.error = "文件“" + path + "”不是有效的写频数据：只有 " + std::to_string(got) +
                       " 字节，需要 2112 字节。";
        return result;
    }
    for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(bytes[i]);
    result.ok = true;
    return result;
}

bool SaveSinFile(const std::string& path, const RadioImage& image, std::string* error) {
    const fs::path target = fs::u8path(path);
    const fs::path temp = TemporaryBeside(target);
    bool written = false;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
            out.flush();
            written = static_cast<bool>(out);
            out.close();
            written = written && !out.fail();
        }
    }
    std::error_code ec;
    if (written) fs::rename(temp, target, ec);
    if (!written || ec) {
        fs::remove(temp, ec);
        if (error) *error = "无法保存文件“" + path + "”。";
        return false;
    }
    return true;
}
