#pragma once
// quillmo-device as a function, so that tests run its commands in-process.
#include <ostream>
#include <string>
#include <vector>

class CommandTable;

// Every subcommand of quillmo-device.
CommandTable device_commands();

// Runs one command line (the words after the program's name). Results go to
// out, and only when the command succeeds; a failure writes one line to err and
// nothing to out. Returns the exit status: 0 success, 2 usage error (or no device
// folder), 1 any other failure.
int device_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
