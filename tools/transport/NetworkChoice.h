#pragma once
// Which network the device's messaging service uses: the registry value
// "Network" (a string) under HKEY_CURRENT_USER\Software\Zelvor\Quillmo\Transport.
//   "modem"     ModemManager on the system bus
//   "loopback"  this machine's loopback network (the demo, tests)
//   "auto"      the modem when ModemManager answers, else loopback; also
//               what a missing or unknown value means
#include <string>

enum class Network { Auto, Modem, Loopback };

namespace network_choice {

// The device's choice; an unknown value is logged and read as Auto.
Network read();
const char* name(Network network);

}  // namespace network_choice
