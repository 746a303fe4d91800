// skinc: compiles a skin source and its pictures into a .skin file and 16-bit
// BMPs, or prints a .skin as JSON. See SkincMain.h.
#include <iostream>

#include "tools/skinc/SkincMain.h"

int main(int argc, char** argv) {
    return skinc_main(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
