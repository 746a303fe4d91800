#pragma once
// Starting other programs: always with an argument vector, never through a
// shell, because command lines and links may come from untrusted text.
#include <string>
#include <string_view>
#include <vector>

namespace process {

// Splits a command line of the handset's form: an executable, optionally in
// double quotes, then arguments separated by spaces; a double-quoted argument
// may hold spaces. Quotes are removed.
std::vector<std::u16string> split_command_line(std::u16string_view command_line);

// Starts the program detached from this process (own session, no zombie left
// behind) and returns whether it could be started.
bool spawn_detached(const std::vector<std::u16string>& argv);

}  // namespace process
