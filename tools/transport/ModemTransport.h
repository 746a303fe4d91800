#pragma once
// The modem network: one pass stores what waits on the modem in the Inbox and
// sends what waits in the Outbox, over a ModemLink.
//
// Receiving: every complete received SMS object is filed in one store
// transaction and only then deleted from the modem, so a store that fails
// (busy, full) leaves the message on the modem for the next pass, and a stop
// between the two leaves a message the store recognises when it comes again.
//
// Sending: each recipient of an Outbox message is one SMS object, created and
// sent; before Send the store records the object, after it the recipient is
// recorded sent. A recipient recorded sent is never sent to again; one whose
// Send had no answer (the transport was killed, the call timed out) is
// settled by asking the modem's object, and when that is gone the message is
// marked failed rather than sent twice. A message whose recipients are all
// sent moves to Sent Items; one the modem refused stays in the Outbox marked
// failed and is tried again at the next pass.
#include <memory>
#include <string>

#include "platform/store/StoreDatabase.h"
#include "tools/transport/ModemLink.h"

class ModemTransport {
public:
    ModemTransport(StoreDatabase& store, ModemLink& link) : store_(store), link_(link) {}

    struct Outcome {
        bool modem = false;  // a modem with Messaging answered
        int received = 0;
        int sent = 0;    // messages moved to Sent Items
        int failed = 0;  // messages marked failed
        // Something was left for later that no event will bring back: a
        // message the store could not take, a send whose end is not known.
        bool retry = false;
    };
    // Whether a pass tries again the Outbox messages the modem refused
    // before: at a submission, when a modem appears, or when work left for
    // later is taken up, but not at every message that arrives or changes (a refused message would
    // otherwise be sent again and again, each attempt announcing a new message).
    enum class Refused { Retry, Leave };
    // One pass. Logs what goes wrong, one line each; never throws.
    Outcome run(Refused refused);

private:
    void receive(const std::string& modem, Outcome& outcome);
    void take(const std::string& modem, const std::string& path, Outcome& outcome);
    void send_outbox(const std::string& modem, Refused refused, Outcome& outcome);
    enum class Step { Sent, Failed, Later };
    Step send_to(const std::string& modem, const StoreDatabase::OutboxEntry& entry,
                 size_t position);
    Step settle(const std::string& modem, const StoreDatabase::OutboxEntry& entry, size_t position);
    Step send_created(const std::string& modem, const StoredMessage& message, size_t position,
                      const std::string& sms);
    void note_modem(const std::string& state);

    StoreDatabase& store_;
    ModemLink& link_;
    std::string modem_state_;  // last logged: "", "none", "absent" or a modem path
};
