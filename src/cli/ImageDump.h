#pragma once
// The text `ostreltz-cli dump` prints for an image.
#include <string>

#include "image/RadioImage.h"

std::string DumpImage(const RadioImage& image);

// Columns a text takes in a terminal (Chinese characters take two).
int DisplayWidth(const std::string& utf8);
