#pragma once
// This user's radio history, as the desktop program and the command line
// keep it: the folder under $XDG_DATA_HOME and the setting that switches it
// off.
#include <string>

#include "image/RadioImage.h"

// Whether finished transfers are kept (the setting "History/Enabled"; on
// unless switched off).
bool HistoryEnabled();
void SetHistoryEnabled(bool enabled);
// $XDG_DATA_HOME/ostreltz/history (or ~/.local/share/ostreltz/history).
std::string UserHistoryFolder();
// Keeps the image of a finished transfer, now, when the history is on.
// Empty, or the user's message when it could not be kept.
std::string KeepTransfer(const RadioImage& image, bool write, const std::string& port, int radioType);
