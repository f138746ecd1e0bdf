#include "image/SinFile.h"

#include "image/FileAccess.h"
#include "res/Texts.h"

SinLoadResult LoadSinFile(const std::string& path, RadioImage& image) {
    SinLoadResult result;
    const FileRead file = ReadRegularFile(path, kLargestSin, true);
    if (!file.ok) {
        result.error = file.error;
        return result;
    }
    const std::size_t got = file.bytes.size();
    if (got == 0) {
        result.ok = true;
        result.empty = true;
        return result;
    }
    if (got < kImageSize) {
        result.error = TrFormat(TextId::SinTooShort, {path, std::to_string(got)});
        return result;
    }
    for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(file.bytes[i]);
    if (got > kImageSize)
        result.warning = TrFormat(TextId::SinLongerThanImage, {path, std::to_string(got - kImageSize)});
    result.ok = true;
    return result;
}

bool SaveSinFile(const std::string& path, const RadioImage& image, std::string* error) {
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()),
                               error);
}
