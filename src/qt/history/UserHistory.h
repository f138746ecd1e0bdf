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
// Keeps an image in this user's history folder, one at a time however many
// transfers end at once. The failure when it could not be kept.
std::optional<Failure> KeepInUserHistory(const RadioImage& image, bool write, const std::string& port, int radioType);
