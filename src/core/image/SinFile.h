#pragma once
// ".sin" files: exactly the 2112 image bytes in offset order, no header.
#include <cstddef>
#include <string>

#include "image/RadioImage.h"

struct SinLoadResult {
    bool ok = false;
    bool empty = false;   // an empty file opens without error and changes nothing
    std::string error;    // the user's message when !ok
    std::string warning;  // the user's message when bytes after the image were left out
};

// The largest file taken for radio data: nothing that size is one.
constexpr std::size_t kLargestSin = 1024 * 1024;

// Loads a file into `image`. The image changes only when the file holds at
// least 2112 bytes (a longer file loads its first 2112, with a warning that
// names the bytes left out). A shorter, non-empty file, and one over
// kLargestSin, is refused and leaves the image exactly as it was.
SinLoadResult LoadSinFile(const std::string& path, RadioImage& image);

// Replaces `path` with the image whole or not at all (see FileAccess.h): a
// failed save never damages the old file.
bool SaveSinFile(const std::string& path, const RadioImage& image, std::string* error);
