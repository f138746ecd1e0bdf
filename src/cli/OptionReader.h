#pragma once
// Reading the command line's arguments: "--name value" pairs, flags and
// positional arguments, and the words that say what is wrong with them.
#include <optional>
#include <string>
#include <vector>

#include "cli/CliCommands.h"

// What the command line says when its arguments are wrong, before the usage.
namespace cli_text {
std::string MissingOption(const std::string& name);
std::string MissingValue(const std::string& name);
std::string UnknownOption(const std::string& name);
std::string MissingArgument(const std::string& what);
std::string ExtraArgument(const std::string& text);
std::string BadValue(const std::string& name, const std::string& value);
std::string GivenTwice(const std::string& name);
std::string NotInRange(const std::string& name, const std::string& value, int low, int high);
}  // namespace cli_text

// An argument that names an option ("--port", "-o"), not a value ("-5").
bool IsOption(const std::string& arg);

// An option's name and, when written "--name=value", its value.
struct OptionWord {
    std::string name;
    std::optional<std::string> joined;
};

OptionWord SplitOptionWord(const std::string& arg);

// A whole decimal number from `low` to `high`; blanks around it are allowed
// on both sides alike.
bool ParseNumber(const std::string& given, int low, int high, int& out);

// A tiny option reader: "--name value" pairs, flags and positional arguments.
// After "--" every argument is positional ("-- -x.sin"). The first thing
// wrong is kept in Problem() for the usage message; an option the command
// does not know comes before anything else, as what seems missing may be
// what it misspells.
class OptionReader {
public:
    explicit OptionReader(const Args& args);
    bool Help() const;
    // The value after `name`, or joined to it as "--name=value" (then taken
    // as it is, even when it begins with a dash); an option given twice or
    // without its value is a problem.
    std::optional<std::string> Value(const std::string& name);
    // A number from `low` to `high` after `name`.
    std::optional<int> Number(const std::string& name, int low, int high);
    // Every value of an option that may be given several times.
    std::vector<std::string> Values(const std::string& name);
    // A value the command cannot do without.
    std::optional<std::string> Required(const std::string& name);
    bool Flag(const std::string& name);
    // The arguments not taken by Value or Flag, which must be exactly the
    // ones `names` describes; nothing when they are not or anything else
    // was wrong.
    std::optional<Args> Positional(const std::vector<std::string>& names);
    void Fail(const std::string& problem);
    const std::string& Problem() const { return m_unknown.empty() ? m_problem : m_unknown; }

private:
    const Args& m_args;
    std::size_t m_end;  // where "--" ends the options, or the arguments' end
    std::vector<std::size_t> m_used;
    std::string m_problem;
    std::string m_unknown;  // the first option not known
};
