#pragma once
// How the CSV layouts read the numbers a spreadsheet or another program may
// have written in its own way.
#include <string>

// Digits with at most one decimal point among them ("145", "145.", ".5").
bool IsPlainDecimal(const std::string& text);

// A CTCSS tone given as hertz ("67", "88.50", "100") as the tone table
// spells it ("67.0", "88.5", "100.0"); any other text as it is, for the
// table's check to take or refuse.
std::string CtcssText(const std::string& hertz);
