#pragma once
// The transport's lines: each goes to stderr (the journal, when the daemon
// runs as a user service) and to the device's log. A line is fixed text; a
// detail from outside (a ModemManager error, a path) is made terminal-safe
// first, since it may carry anything.
#include <string_view>

namespace transport_log {

// "quillmo-transport: <what>[: <detail>]" on one line.
void line(std::string_view what, std::string_view detail = {});

}  // namespace transport_log
