#pragma once
// What went wrong, kept as texts of the table and their arguments until it is
// shown: then it is put into words once, in the language spoken at that
// moment. Files, CSV and the link all report their failures this way.
#include <string>
#include <utility>
#include <vector>

#include "res/Texts.h"

// One line of a message: a text of the table and what fills its %1 .. %9.
struct Clause {
    TextId id;
    std::vector<std::string> args;
    bool operator==(const Clause&) const = default;
};

struct Failure {
    std::vector<Clause> lines;  // shown one under the other
    bool operator==(const Failure&) const = default;
};

inline Failure Fail(TextId id, std::vector<std::string> args = {}) { return Failure{{Clause{id, std::move(args)}}}; }
// `failure` with `reason` as a line under it.
inline Failure Because(Failure failure, Clause reason) {
    failure.lines.push_back(std::move(reason));
    return failure;
}

// The clause, or every line of the failure, in the current language.
std::string Describe(const Clause& clause);
std::string Describe(const Failure& failure);
