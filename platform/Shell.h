#pragma once
// Handing the user over to other programs: starting a program or opening a
// document or link, placing a call, and finding another installed application.
//
// Nothing here goes through a shell. Links and numbers come from message
// text, which anyone can write: a program gets an argument vector, and the
// desktop's opener (xdg-open, looked up in $PATH) gets exactly one argument,
// which never starts with "-", so it cannot be read as an option.
//
// The handset's browser and mail program are the desktop's own here: a link
// handed to any program (the way the chat form hands links to
// "%windows%/iexplore.exe" and "mailto:" addresses to "%windows%/tmail.exe")
// is opened by xdg-open instead, and so is a bare web address handed to the
// browser ("www.example.com" becomes "http://www.example.com").
//
// Each operation returns whether it started something, and logs one line of
// fixed text when it could not.
#include <string>
#include <string_view>

namespace shell {

// Expands the path macros of file (paths::expand) and logs
// "execute_file(<file>} {<parameters>)", control characters shown as blanks.
// Then, the first that applies:
// - parameters that are one link (http:, https:, mailto:, tel:), or a bare
//   web address for the browser "iexplore.exe": xdg-open with that link;
// - file is an executable file: it is started with parameters split into
//   arguments (process::split_command_line);
// - file is a link, or an existing document such as a help page: xdg-open
//   with it.
// Characters that no URI holds (blanks, quotes, controls, "<>\^`{|}", all
// beyond ASCII) are percent-encoded in a link before it is handed over.
bool execute_file(std::u16string_view file, std::u16string_view parameters);

// Places a call to number: "xdg-open tel:<number>", with everything but
// digits, "*", "#" and a leading "+" left out. Fails when the number has no
// digit or xdg-open cannot be started.
bool make_call(std::u16string_view number);

// Where another application lives: "InstallDir" under
// "HKEY_LOCAL_MACHINE\Software\Apps\<key>" (path macros and "\" allowed),
// then "/" and file. The path when that file exists, else "" (also when the
// value is missing or empty: the application is not installed).
std::u16string installed_app_path(std::u16string_view key, std::u16string_view file);

}  // namespace shell
