#include "image/SinFile.h"

#include "image/FileAccess.h"

SinLoadResult LoadSinFile(const std::string& path, RadioImage& image, EmptySin empty) {
    const FileRead file = ReadRegularFile(path, kLargestSin, true);
    if (!file.ok) {
        SinLoadResult result;
        result.error = file.error;
        return result;
    }
    return LoadSinBytes(path, file.bytes, image, empty);
}

SinLoadResult LoadSinBytes(const std::string& name, std::string_view bytes, RadioImage& image, EmptySin empty) {
    SinLoadResult result;
    const std::size_t got = bytes.size();
    if (got == 0 && empty == EmptySin::Refused) {
        result.error = OpenFailure(name, {TextId::FileEmpty, {}});
        return result;
    }
    if (got == 0) {
        result.ok = true;
        result.empty = true;
        return result;
    }
    if (got > kLargestSin) {
        result.error = OpenFailure(name, {TextId::FileTooLarge, {}});
        return result;
    }
    if (got < kImageSize) {
        result.error = Fail(TextId::SinTooShort, {name, std::to_string(got)});
        return result;
    }
    for (std::size_t i = 0; i < kImageSize; ++i) image[i] = static_cast<std::uint8_t>(bytes[i]);
    if (got > kImageSize) result.warning = Clause{TextId::SinLongerThanImage, {name, std::to_string(got - kImageSize)}};
    result.ok = true;
    return result;
}

std::optional<Failure> SaveSinFile(const std::string& path, const RadioImage& image) {
    return WriteFileAtomically(path, std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
}
