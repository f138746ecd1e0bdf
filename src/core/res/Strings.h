#pragma once
// Fixed names of the program that no language changes. The texts people read
// are in the table of texts (res/Texts.h).

namespace text {
inline constexpr const char* kSettingsKey = "Local AppWizard-Generated Applications";
inline constexpr const char* kVersion = "11.1";
}  // namespace text
