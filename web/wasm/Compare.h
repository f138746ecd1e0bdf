#pragma once
// The page's open comparison, and the history its transfers go into.
#include <optional>
#include <string>

#include "history/RadioHistory.h"
#include "compare/ImageDiff.h"

ImageComparison& TheComparison();
// Keeps a finished transfer's image in the origin storage when the history
// is on (or `evenWhenOff`: a backup asked for); the failure when it could not
// be kept.
std::optional<Failure> KeepInHistory(const RadioImage& image, bool write, const std::string& port, int radioType,
                                     bool evenWhenOff = false);
