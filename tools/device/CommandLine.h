#pragma once
// The options and operands of one subcommand, checked against what the
// subcommand accepts. Options are "--name VALUE" or "--name=VALUE"; "--" ends
// the options, so a message text may itself begin with "-". Every mistake is a
// usage error (exit status 2) naming the offending word.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct OptionSpec {
    std::string name;        // "--from"
    std::string value_name;  // "NUMBER"; empty for a switch without a value
    bool repeatable = false;
};

class CommandLine {
public:
    // Splits args (the words after the subcommand's name) into options and
    // operands. Throws a usage ToolError for an unknown or repeated option, a
    // missing value, or an operand count outside min..max.
    static CommandLine parse(const std::vector<std::string>& args,
                             const std::vector<OptionSpec>& options, size_t min_operands,
                             size_t max_operands);
    // Whether args ask for the subcommand's help: "--help" as an option, read
    // as parse() reads the words (not after "--", not as the value of an
    // option). Help is all such a command line does. A separate "--help" where
    // an option's value belongs ("--string --help") is a usage error: the user
    // may have meant either, and "--string=--help" says the value.
    static bool asks_for_help(const std::vector<std::string>& args,
                              const std::vector<OptionSpec>& options);

    bool has(std::string_view name) const;
    // The value of a non-repeatable option.
    std::optional<std::string> value(std::string_view name) const;
    // Every value of a repeatable option, in command-line order.
    std::vector<std::string> values(std::string_view name) const;
    const std::vector<std::string>& operands() const { return operands_; }

    // A 32-bit unsigned number in decimal or with a 0x prefix in hexadecimal.
    // what names the option in the usage error.
    static uint32_t parse_number(std::string_view text, std::string_view what);

private:
    std::map<std::string, std::vector<std::string>, std::less<>> options_;
    std::vector<std::string> operands_;
};
