// quillmo-device: the handset's services from a terminal.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "tools/device/DeviceMain.h"

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write over `ulimit -f` fails with EFBIG and says so
    std::vector<std::string> args(argv + 1, argv + argc);
    return device_main(args, std::cout, std::cerr);
}
