#pragma once
// skinc's command line, run in-process by main() and by the tests:
//
//   skinc SOURCE.json OUT.skin         compiles the source and its pictures
//   skinc --dump [--dpi N] FILE.skin   prints a skin as JSON (see SkinDump.h)
//
// Errors are one line on err, starting "skinc: " and naming the file; the
// result is 0 on success, 2 for a usage error and 1 for any other failure.
#include <ostream>
#include <string>
#include <vector>

int skinc_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
