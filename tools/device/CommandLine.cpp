#include "tools/device/CommandLine.h"

#include <charconv>

#include "tools/device/ToolError.h"

namespace {

const OptionSpec* find_option(const std::vector<OptionSpec>& options, std::string_view name) {
    for (const OptionSpec& o : options)
        if (o.name == name) return &o;
    return nullptr;
}

}  // namespace

CommandLine CommandLine::parse(const std::vector<std::string>& args,
                               const std::vector<OptionSpec>& options, size_t min_operands,
                               size_t max_operands) {
    CommandLine line;
    bool options_ended = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (options_ended || word.size() < 2 || word[0] != '-') {
            line.operands_.push_back(word);
            continue;
        }
        if (word == "--") {
            options_ended = true;
            continue;
        }
        std::string_view name = word;
        std::optional<std::string> inline_value;
        if (size_t eq = name.find('='); word.starts_with("--") && eq != std::string_view::npos) {
            inline_value = std::string(name.substr(eq + 1));
            name = name.substr(0, eq);
        }
        const OptionSpec* option = find_option(options, name);
        if (option == nullptr) throw usage_error("unknown option '" + std::string(name) + "'");
        auto& slot = line.options_[option->name];
        if (!slot.empty() && !option->repeatable)
            throw usage_error("option '" + option->name + "' given more than once");
        if (option->value_name.empty()) {
            if (inline_value) throw usage_error("option '" + option->name + "' takes no value");
            slot.emplace_back();
            continue;
        }
        if (inline_value) {
            slot.push_back(*inline_value);
        } else if (i + 1 < args.size()) {
            slot.push_back(args[++i]);
        } else {
            throw usage_error("option '" + option->name + "' needs a value " + option->value_name);
        }
    }
    if (line.operands_.size() < min_operands)
        throw usage_error(min_operands == 1 && max_operands == 1 ? "missing operand"
                                                                 : "too few operands");
    if (line.operands_.size() > max_operands)
        throw usage_error("unexpected operand '" + line.operands_[max_operands] + "'");
    return line;
}

bool CommandLine::asks_for_help(const std::vector<std::string>& args,
                                const std::vector<OptionSpec>& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--") return false;
        if (word == "--help") return true;
        const OptionSpec* option = find_option(options, word);
        if (option == nullptr || option->value_name.empty() || i + 1 == args.size()) continue;
        if (args[i + 1] == "--help")
            throw usage_error("option '" + option->name + "' is followed by --help: write " +
                              option->name + "=--help for that value, or --help alone for help");
        ++i;  // the option's value
    }
    return false;
}

bool CommandLine::has(std::string_view name) const { return options_.find(name) != options_.end(); }

std::optional<std::string> CommandLine::value(std::string_view name) const {
    auto it = options_.find(name);
    if (it == options_.end() || it->second.empty()) return std::nullopt;
    return it->second.front();
}

std::vector<std::string> CommandLine::values(std::string_view name) const {
    auto it = options_.find(name);
    return it == options_.end() ? std::vector<std::string>{} : it->second;
}

uint32_t CommandLine::parse_number(std::string_view text, std::string_view what) {
    std::string_view digits = text;
    int base = 10;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
        base = 16;
    }
    uint32_t value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size())
        throw usage_error(std::string(what) + " needs a number from 0 to 4294967295, not '" +
                          std::string(text) + "'");
    return value;
}
