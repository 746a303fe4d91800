#include "tools/transport/LoopbackPass.h"

#include <string>

#include "tools/transport/TransportLog.h"

bool loopback_pass(StoreDatabase& store) {
    std::optional<StoreDatabase::TransmitResult> r = store.transmit({});
    if (!r) {
        transport_log::line("the loopback network could not transmit the Outbox",
                            store.last_error());
        return false;
    }
    if (r->sent + r->failed + r->reports > 0)
        transport_log::line("loopback: sent " + std::to_string(r->sent) + ", failed " +
                            std::to_string(r->failed) + ", reports " + std::to_string(r->reports));
    return true;
}
