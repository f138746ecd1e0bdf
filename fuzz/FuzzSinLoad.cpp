// .sin loading of arbitrary bytes and lengths: the image changes only for a
// file of at least 2112 bytes, and then holds exactly its first 2112.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

#include "image/SinFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/ostreltz-fuzz-" + std::to_string(::getpid()) + ".sin";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    RadioImage image = NewDocumentImage();
    const RadioImage before = image;
    const SinLoadResult r = LoadSinFile(path, image);
    std::remove(path.c_str());
    if (size >= kImageSize) {
        if (!r.ok || std::memcmp(image.data(), data, kImageSize) != 0) std::abort();
    } else if (image != before || r.ok != (size == 0)) {
        std::abort();
    }
    return 0;
}
