#pragma once
// The subcommands of quillmo-device and the dispatch from a command line to one
// of them. Adding a subcommand is one add() call; the overview, the group help
// ("quillmo-device sms --help") and the unknown-command errors follow from the
// registered words.
#include <string>
#include <vector>

#include "tools/device/Command.h"

class CommandTable {
public:
    void add(Command command);

    // Runs the command named by the leading words of args ("sms", "add", ...).
    // "--help" among its options prints its help instead. Throws a ToolError for
    // an unknown command, a usage mistake or a failure of the command itself;
    // its message names the command.
    void run(const std::vector<std::string>& args, DeviceContext& context) const;

    // The overview printed by "quillmo-device --help".
    std::string overview() const;

private:
    const Command* find(const std::vector<std::string>& args) const;
    bool is_group(const std::vector<std::string>& prefix) const;
    std::string group_help(const std::vector<std::string>& prefix) const;
    static std::string help(const Command& command);

    std::vector<Command> commands_;
};
