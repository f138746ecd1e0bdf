#pragma once
// The page's open comparison, and the history its transfers go into.
#include <optional>
#include <string>

#include "history/RadioHistory.h"
#include "compare/ImageDiff.h"

ImageComparison& TheComparison();
// Whether finished transfers are kept (on unless switched off).
bool HistoryOn();
// Keeps a transfer's image in the origin storage; the failure when it could
// not be kept.
std::optional<Failure> KeepInHistory(const RadioImage& image, bool write, const std::string& port, int radioType);
