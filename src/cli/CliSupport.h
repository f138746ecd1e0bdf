#pragma once
// What every verb of the command line shares: its usage, its errors on
// standard error, and the .sin file it works on.
#include <optional>
#include <string>

#include "cli/OptionReader.h"
#include "image/RadioImage.h"
#include "res/Failure.h"
#include "res/Texts.h"

// The usage on standard output; whether it got there is checked on the way out.
int Usage(const char* text);
// What is wrong with the arguments, then the usage; exit code 2.
int UsageError(const std::string& problem, const char* text);
int UsageError(const OptionReader& reader, const char* text);
// The error after the program's name; exit code 1.
int Error(const std::string& text);
int Error(const Failure& failure);

// A .sin file loaded over a new document's image; nothing, after saying why,
// when it cannot be loaded. An empty file holds no data to show or send.
std::optional<RadioImage> LoadImageFile(const std::string& path);

// What saving `image` as a document writes, as the desktop and the page save
// it: every channel row encoded from its texts by the editing session.
RadioImage AsSaved(const RadioImage& image);
