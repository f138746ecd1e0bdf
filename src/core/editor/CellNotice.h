#pragma once
// A message about what was written into the channel table, and how it is
// shown.
#include <string>

enum class NoticeSeverity { Warning, Information };

struct CellNotice {
    std::string text;
    std::string caption;  // empty: the program's title
    NoticeSeverity severity = NoticeSeverity::Warning;
};
