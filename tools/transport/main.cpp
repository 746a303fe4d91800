// quillmo-transport: the device's messaging service.
#include <csignal>
#include <string>
#include <vector>

#include "tools/transport/TransportMain.h"

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write over `ulimit -f` fails with EFBIG and says so
    std::signal(SIGPIPE, SIG_IGN);  // a bus that goes away is an error, not the end
    return transport_main(std::vector<std::string>(argv + 1, argv + argc));
}
