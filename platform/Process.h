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
// behind) and returns whether it could be started. argv[0] is the program's
// path; it is not looked up in $PATH. Its standard streams are /dev/null.
bool spawn_detached(const std::vector<std::u16string>& argv);

// The path of the executable file called name in the first folder of $PATH
// that has one, or "" when none has. A name holding "/" is not looked up.
std::string find_program(std::string_view name);

}  // namespace process
