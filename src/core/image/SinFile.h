#pragma once
// ".sin" files: exactly the 2112 image bytes in offset order, no header.
#include <string>

#include "image/RadioImage.h"

struct SinLoadResult {
    bool ok = false;
    bool empty = false;   // an empty file opens without error and changes nothing
    std::string error;    // the user's message when !ok
};

// Loads a file into `image`. The image changes only when the file holds at
// least 2112 bytes (a longer file loads its first 2112). A shorter, non-empty
// file is refused and leaves the image exactly as it was.
SinLoadResult LoadSinFile(const std::string& path, RadioImage& image);

// Replaces `path` with the image whole or not at all (see FileAccess.h): a
// failed save never damages the old file.
bool SaveSinFile(const std::string& path, const RadioImage& image, std::string* error);
