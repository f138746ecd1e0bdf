#pragma once
// ".sin" files: exactly the 2112 image bytes in offset order, no header.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "image/RadioImage.h"
#include "res/Failure.h"

// An empty file opens as nothing at all, or is refused ("文件是空的") where
// radio data must be had from it (comparing, dumping).
enum class EmptySin { Opens, Refused };

struct SinLoadResult {
    bool ok = false;
    bool empty = false;             // an empty file opens without error and changes nothing
    Failure error;                  // when !ok
    std::optional<Clause> warning;  // when bytes after the image were left out
};

// The largest file taken for radio data: nothing that size is one.
constexpr std::size_t kLargestSin = 1024 * 1024;

// Loads a file into `image`. The image changes only when the file holds at
// least 2112 bytes (a longer file loads its first 2112, with a warning that
// names the bytes left out). A shorter, non-empty file, and one over
// kLargestSin, is refused and leaves the image exactly as it was.
SinLoadResult LoadSinFile(const std::string& path, RadioImage& image, EmptySin empty = EmptySin::Opens);
// The same check for bytes already read from a file called `name`.
SinLoadResult LoadSinBytes(const std::string& name, std::string_view bytes, RadioImage& image,
                           EmptySin empty = EmptySin::Opens);

// Why file `name` gives no radio data though it could be read: "写频数据不完整".
Failure SinDamagedFailure(const std::string& name);

// Whether a file's name calls it radio data: it ends in ".sin", in any case.
bool IsSinName(const std::string& name);
// The name a save gives the file the user named: ".sin" added when the name
// has no extension of its own.
std::string WithSinExtension(const std::string& name);

// Replaces `path` with the image whole or not at all (see FileAccess.h): a
// failed save never damages the old file.
std::optional<Failure> SaveSinFile(const std::string& path, const RadioImage& image);
