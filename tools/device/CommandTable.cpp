#include "tools/device/CommandTable.h"

#include <algorithm>
#include <ostream>

#include "tools/device/DeviceContext.h"
#include "tools/device/ToolError.h"

namespace {

constexpr const char* kProgram = "quillmo-device";

std::string join(const std::vector<std::string>& words, size_t count) {
    std::string out;
    for (size_t i = 0; i < count && i < words.size(); ++i) {
        if (i > 0) out += ' ';
        out += words[i];
    }
    return out;
}

std::string usage_line(const Command& c) {
    std::string line = std::string(kProgram) + " " + join(c.words, c.words.size());
    if (!c.synopsis.empty()) line += " " + c.synopsis;
    return line;
}

bool starts_with_words(const std::vector<std::string>& args,
                       const std::vector<std::string>& words) {
    return args.size() >= words.size() && std::equal(words.begin(), words.end(), args.begin());
}

}  // namespace

void CommandTable::add(Command command) { commands_.push_back(std::move(command)); }

const Command* CommandTable::find(const std::vector<std::string>& args) const {
    const Command* best = nullptr;
    for (const Command& c : commands_)
        if (starts_with_words(args, c.words) &&
            (best == nullptr || c.words.size() > best->words.size()))
            best = &c;
    return best;
}

bool CommandTable::is_group(const std::vector<std::string>& prefix) const {
    return std::any_of(commands_.begin(), commands_.end(), [&](const Command& c) {
        return c.words.size() > prefix.size() && starts_with_words(c.words, prefix);
    });
}

void CommandTable::run(const std::vector<std::string>& args, DeviceContext& context) const {
    if (args.empty())
        throw usage_error("missing command (see '" + std::string(kProgram) + " --help')");
    if (args.front() == "--help") {
        context.out() << overview();
        return;
    }
    if (const Command* command = find(args)) {
        std::vector<std::string> rest(
            args.begin() + static_cast<std::ptrdiff_t>(command->words.size()), args.end());
        try {
            if (CommandLine::asks_for_help(rest, command->options)) {
                context.out() << help(*command);
                return;
            }
            CommandLine line = CommandLine::parse(rest, command->options, command->min_operands,
                                                  command->max_operands);
            command->run(context, line);
        } catch (const ToolError& e) {
            throw ToolError(e.status(),
                            join(command->words, command->words.size()) + ": " + e.what());
        }
        return;
    }
    // No command matched: the longest group the words name tells what was meant.
    std::vector<std::string> group;
    while (group.size() < args.size() &&
           is_group({args.begin(), args.begin() + static_cast<std::ptrdiff_t>(group.size() + 1)}))
        group.push_back(args[group.size()]);
    if (!group.empty()) {
        std::string name = join(group, group.size());
        if (group.size() == args.size())
            throw usage_error("missing " + name + " command (see '" + kProgram + " " + name +
                              " --help')");
        if (args[group.size()] == "--help") {
            context.out() << group_help(group);
            return;
        }
        throw usage_error("unknown " + name + " command '" + args[group.size()] + "' (see '" +
                          kProgram + " " + name + " --help')");
    }
    throw usage_error("unknown command '" + args.front() + "' (see '" + kProgram + " --help')");
}

std::string CommandTable::overview() const {
    std::string out = std::string("usage: ") + kProgram + " COMMAND [OPTIONS] [ARGUMENTS]\n\n" +
                      "The handset's services for the device folder ($QUILLMO_DEVICE, by default\n"
                      "${XDG_DATA_HOME:-$HOME/.local/share}/quillmo): its message store, registry\n"
                      "and system programs.\n\ncommands:\n";
    for (const Command& c : commands_) out += "  " + usage_line(c) + "\n";
    out += std::string("\n'") + kProgram + " COMMAND --help' explains one command.\n";
    return out;
}

std::string CommandTable::group_help(const std::vector<std::string>& prefix) const {
    std::string out = std::string("usage: ") + kProgram + " " + join(prefix, prefix.size()) +
                      " COMMAND ...\n\ncommands:\n";
    for (const Command& c : commands_)
        if (c.words.size() > prefix.size() && starts_with_words(c.words, prefix))
            out += "  " + usage_line(c) + "\n      " + c.summary + "\n";
    return out;
}

std::string CommandTable::help(const Command& command) {
    std::string out = "usage: " + usage_line(command) + "\n\n" + command.summary + "\n";
    if (!command.details.empty()) out += "\n" + command.details;
    return out;
}
