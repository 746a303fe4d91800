#pragma once
// quillmo-transport as a function: the device's messaging service.
//   --daemon    runs until stopped (TransportDaemon)
//   --once      wakes the daemon of the device folder when one runs; else one
//               pass over the chosen network (NetworkChoice), then exits
//   --loopback  one pass of the loopback network, whatever the choice
// Exit status: 0 done, 2 usage error, 1 anything else (one line on stderr).
#include <string>
#include <vector>

int transport_main(const std::vector<std::string>& args);
