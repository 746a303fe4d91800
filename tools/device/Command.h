#pragma once
// One subcommand of quillmo-device, as it is registered with the CommandTable:
// its words, what it accepts, its help and the function that does the work.
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/device/CommandLine.h"

class DeviceContext;

struct Command {
    std::vector<std::string> words;  // {"sms", "deliver"}
    std::string synopsis;            // what follows the words in the usage line
    std::string summary;             // one sentence for the overview and the help
    std::string details;             // the options explained, for --help
    std::vector<OptionSpec> options;
    size_t min_operands = 0;
    size_t max_operands = 0;
    // Does the work; reports failure by throwing a ToolError. Whatever it writes
    // to the context's output is shown only when it succeeds.
    std::function<void(DeviceContext&, const CommandLine&)> run;
};
