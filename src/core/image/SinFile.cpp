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

Failure SinDamagedFailure(const std::string& name) { return OpenFailure(name, {TextId::SinDamaged, {}}); }

bool IsSinName(const std::string& name) {
    static constexpr std::string_view kExtension = ".sin";
    if (name.size() < kExtension.size()) return false;
    for (std::size_t i = 0; i < kExtension.size(); ++i) {
        const char c = name[name.size() - kExtension.size() + i];
        if ((c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c) != kExtension[i]) return false;
    }
    return true;
}

std::string WithSinExtension(const std::string& name) {
    const std::size_t base = name.find_last_of('/') + 1;  // npos + 1 is 0
    const std::size_t dot = name.find_last_of('.');
    if (dot != std::string::npos && dot >= base && dot + 1 < name.size()) return name;
    return name + (name.ends_with('.') ? "sin" : ".sin");
}
