#pragma once
// A long list of refusals in a message box: the first lines, then how many
// more there are, so the box always fits the screen.
#include <cstddef>
#include <string>
#include <vector>

// `lines` one per line, at most `shown` of them, then "……另有 N 个".
std::string CappedLines(const std::vector<std::string>& lines, std::size_t shown = 20);
