#include "cli/CliSupport.h"

#include <cstdio>

#include "editor/EditSession.h"
#include "image/SinFile.h"

int Usage(const char* text) {
    std::fputs(text, stdout);
    return 0;
}

int UsageError(const std::string& problem, const char* text) {
    std::fprintf(stderr, "ostreltz-cli: %s\n", problem.c_str());
    std::fputs(text, stderr);
    return 2;
}

int UsageError(const OptionReader& reader, const char* text) { return UsageError(reader.Problem(), text); }

int Error(const std::string& text) {
    std::fprintf(stderr, "ostreltz-cli: %s\n", text.c_str());
    return 1;
}

int Error(const Failure& failure) { return Error(Describe(failure)); }

std::optional<RadioImage> LoadImageFile(const std::string& path) {
    RadioImage image = NewDocumentImage();
    const SinLoadResult loaded = LoadSinFile(path, image, EmptySin::Refused);
    if (!loaded.ok) {
        Error(loaded.error);
        return std::nullopt;
    }
    if (loaded.warning) std::fprintf(stderr, "ostreltz-cli: %s\n", Describe(*loaded.warning).c_str());
    return image;
}

RadioImage AsSaved(const RadioImage& image) {
    EditSession session;
    session.Load(image);
    return session.ImageForSave();
}
