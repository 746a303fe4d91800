#include "tools/transport/NetworkChoice.h"

#include "platform/Registry.h"
#include "tools/transport/TransportLog.h"

namespace {

const char16_t* const kKey = u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo\\Transport";

}  // namespace

Network network_choice::read() {
    std::u16string value;
    if (!registry::read_string(kKey, u"Network", value) || value == u"auto") return Network::Auto;
    if (value == u"modem") return Network::Modem;
    if (value == u"loopback") return Network::Loopback;
    transport_log::line("the registry value Network is not modem, loopback or auto; auto is used");
    return Network::Auto;
}

const char* network_choice::name(Network network) {
    switch (network) {
        case Network::Modem:
            return "modem";
        case Network::Loopback:
            return "loopback";
        case Network::Auto:
            break;
    }
    return "auto";
}
