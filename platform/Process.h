#pragma once
// Starting other programs: always with an argument vector, never through a
// shell, because command lines and links may come from untrusted text.
#include <string>
#include <string_view>
#include <vector>

namespace process {

// Splits a command line of the handset's form: an executable, optionally in
// double quotes, then arguments separated by spaces; a double-quoted argument
// may hold spaces. Quotes are removed. As on the handset, a backslash escapes
// a double quote: 2n+1 backslashes before a quote give n backslashes and a
// literal quote, 2n give n backslashes and a quote that opens or closes;
// backslashes before anything else are kept as they are.
std::vector<std::u16string> split_command_line(std::u16string_view command_line);
// One argument in double quotes, escaped so that split_command_line gives it
// back unchanged whatever it holds (spaces, quotes, backslashes).
std::u16string quote_argument(std::u16string_view argument);

// Starts the program detached from this process (own session, no zombie left
// behind) and returns whether it could be started. argv[0] is the program's
// path; it is not looked up in $PATH. Its standard streams are /dev/null.
bool spawn_detached(const std::vector<std::u16string>& argv);

// The path of the executable file called name in the first folder of $PATH
// that has one, or "" when none has. A name holding "/" is not looked up.
std::string find_program(std::string_view name);

}  // namespace process
