#include "cli/OptionReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "editor/CellRules.h"
#include "res/Texts.h"

namespace cli_text {
std::string MissingOption(const std::string& name) { return TrFormat(TextId::CliMissingOption, {name}); }
std::string MissingValue(const std::string& name) { return TrFormat(TextId::CliMissingValue, {name}); }
std::string UnknownOption(const std::string& name) { return TrFormat(TextId::CliUnknownOption, {name}); }
std::string MissingArgument(const std::string& what) { return TrFormat(TextId::CliMissingArgument, {what}); }
std::string ExtraArgument(const std::string& text) { return TrFormat(TextId::CliExtraArgument, {text}); }
std::string BadValue(const std::string& name, const std::string& value) {
    return TrFormat(TextId::CliBadValue, {name, value});
}
std::string GivenTwice(const std::string& name) { return TrFormat(TextId::CliGivenTwice, {name}); }
std::string NotInRange(const std::string& name, const std::string& value, int low, int high) {
    return TrFormat(TextId::CliNotInRange, {name, value, std::to_string(low), std::to_string(high)});
}
}  // namespace cli_text

bool IsOption(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-' &&
           (arg[1] == '-' || (arg[1] >= 'a' && arg[1] <= 'z') || (arg[1] >= 'A' && arg[1] <= 'Z'));
}

OptionWord SplitOptionWord(const std::string& arg) {
    const std::size_t equals = arg.find('=');
    if (arg.rfind("--", 0) != 0 || equals == std::string::npos || equals <= 2) return {arg, std::nullopt};
    return {arg.substr(0, equals), arg.substr(equals + 1)};
}

bool ParseNumber(const std::string& given, int low, int high, int& out) {
    const std::string text = TrimBlanks(given);
    if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos) return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || *end || errno || v < low || v > high) return false;
    out = static_cast<int>(v);
    return true;
}

OptionReader::OptionReader(const Args& args)
    : m_args(args), m_end(static_cast<std::size_t>(std::find(args.begin(), args.end(), "--") - args.begin())) {}

bool OptionReader::Help() const {
    for (std::size_t i = 0; i < m_end; ++i)
        if (m_args[i] == "--help" || m_args[i] == "-h") return true;
    return false;
}

std::optional<std::string> OptionReader::Value(const std::string& name) {
    std::optional<std::string> value;
    for (const std::string& given : Values(name)) {
        if (value)
            Fail(cli_text::GivenTwice(name));
        else
            value = given;
    }
    return value;
}

std::optional<int> OptionReader::Number(const std::string& name, int low, int high) {
    const auto text = Value(name);
    int number = 0;
    if (!text) return std::nullopt;
    if (!ParseNumber(*text, low, high, number)) {
        Fail(cli_text::NotInRange(name, *text, low, high));
        return std::nullopt;
    }
    return number;
}

std::vector<std::string> OptionReader::Values(const std::string& name) {
    std::vector<std::string> values;
    for (std::size_t i = 0; i < m_end; ++i) {
        const OptionWord word = SplitOptionWord(m_args[i]);
        if (word.name != name) continue;
        m_used.push_back(i);
        if (word.joined)
            values.push_back(*word.joined);
        else if (i + 1 == m_end || IsOption(m_args[i + 1]))
            Fail(cli_text::MissingValue(name));
        else
            values.push_back(m_args[++i]), m_used.push_back(i);
    }
    return values;
}

std::optional<std::string> OptionReader::Required(const std::string& name) {
    auto value = Value(name);
    if (!value) Fail(cli_text::MissingOption(name));
    return value;
}

bool OptionReader::Flag(const std::string& name) {
    bool given = false;
    for (std::size_t i = 0; i < m_end; ++i)
        if (m_args[i] == name) {
            m_used.push_back(i);
            if (given) Fail(cli_text::GivenTwice(name));
            given = true;
        }
    return given;
}

std::optional<Args> OptionReader::Positional(const std::vector<std::string>& names) {
    Args rest;
    for (std::size_t i = 0; i < m_args.size(); ++i) {
        if (i == m_end || std::find(m_used.begin(), m_used.end(), i) != m_used.end()) continue;
        if (i < m_end && IsOption(m_args[i]) && m_unknown.empty()) m_unknown = cli_text::UnknownOption(m_args[i]);
        rest.push_back(m_args[i]);
    }
    if (rest.size() < names.size()) Fail(cli_text::MissingArgument(names[rest.size()]));
    if (rest.size() > names.size()) Fail(cli_text::ExtraArgument(rest[names.size()]));
    if (!Problem().empty()) return std::nullopt;
    return rest;
}

void OptionReader::Fail(const std::string& problem) {
    if (m_problem.empty()) m_problem = problem;
}
