#pragma once
// This user's radio history, as the desktop program and the command line
// keep it: the folder under $XDG_DATA_HOME and the setting that switches it
// off.
#include <optional>
#include <string>

#include "image/RadioImage.h"
#include "history/RadioHistory.h"

// Whether finished transfers are kept (the setting "History/Enabled"; on
// unless switched off).
bool HistoryEnabled();
// The failure when the setting could not be stored.
std::optional<Failure> SetHistoryEnabled(bool enabled);
// $XDG_DATA_HOME/ostreltz/history (or ~/.local/share/ostreltz/history).
std::string UserHistoryFolder();
// Keeps the image of a finished transfer, now, when the history is on.
// The failure when it could not be kept (shown with NotKeptText).
std::optional<Failure> KeepTransfer(const RadioImage& image, bool write, const std::string& port, int radioType);
// Keeps the backup read before a write, which was asked for, whether the
// history is on or off.
std::optional<Failure> KeepBackup(const RadioImage& image, const std::string& port, int radioType);
