// The modem network's pass.
//
//   the pass ....... which modem, receiving then sending
//   receiving ...... filed first, deleted from the modem after
//   sending ........ one SMS object per recipient, recorded around Send
#include "tools/transport/ModemTransport.h"

#include <ModemManager.h>

#include "platform/LocalTime.h"
#include "tools/transport/ReceivedSms.h"
#include "tools/transport/TransportLog.h"

// --- the pass ----------------------------------------------------------------------

void ModemTransport::note_modem(const std::string& state) {
    // Said once per change, not at every pass.
    if (state == modem_state_) return;
    modem_state_ = state;
    if (state == "absent")
        transport_log::line("ModemManager does not answer; the Outbox waits", link_.last_error());
    else if (state == "none")
        transport_log::line("no modem with messaging; the Outbox waits");
    else
        transport_log::line("using the modem", state);
}

ModemTransport::Outcome ModemTransport::run(Refused refused) {
    Outcome outcome;
    std::optional<std::string> modem = link_.messaging_modem();
    if (!modem) {
        note_modem("absent");
        return outcome;
    }
    if (modem->empty()) {
        note_modem("none");
        return outcome;
    }
    note_modem(*modem);
    outcome.modem = true;
    receive(*modem, outcome);
    send_outbox(*modem, refused, outcome);
    return outcome;
}

// --- receiving ---------------------------------------------------------------------

void ModemTransport::receive(const std::string& modem, Outcome& outcome) {
    std::optional<std::vector<std::string>> paths = link_.list(modem);
    if (!paths) {
        transport_log::line("cannot list the modem's messages", link_.last_error());
        outcome.retry = true;
        return;
    }
    for (const std::string& path : *paths) take(modem, path, outcome);
}

void ModemTransport::take(const std::string& modem, const std::string& path, Outcome& outcome) {
    std::optional<ModemSms> sms = link_.read(path);
    if (!sms) {
        // Gone between the list and the read: another program took it, or
        // the modem went. Nothing of it was stored, nothing is lost here.
        transport_log::line("a message on the modem could not be read", link_.last_error());
        return;
    }
    if (!ReceivedSms::wanted(*sms)) return;
    ReceivedSms::Damage damage;
    StoredMessage message = ReceivedSms::to_stored(*sms, local_time::now_utc(), damage);
    if (damage.invalid_text)
        transport_log::line("a received message is not valid UTF-8; bad bytes are replaced");
    if (damage.long_number) transport_log::line("a received message's sender number is cut short");
    if (damage.missing_time)
        transport_log::line("a received message has no usable time; the time of receipt stands");
    StoreDatabase::Arrival arrival = store_.file_received(message);
    if (arrival == StoreDatabase::Arrival::Failed) {
        transport_log::line("a received message stays on the modem: the store refused it",
                            store_.last_error());
        outcome.retry = true;
        return;
    }
    if (arrival == StoreDatabase::Arrival::Filed) ++outcome.received;
    if (!link_.remove(modem, path))
        transport_log::line("a stored message could not be deleted from the modem",
                            link_.last_error());
}

// --- sending -----------------------------------------------------------------------

void ModemTransport::send_outbox(const std::string& modem, Refused refused, Outcome& outcome) {
    std::optional<std::vector<StoreDatabase::OutboxEntry>> entries =
        store_.outbox_to_send(refused == Refused::Retry);
    if (!entries) {
        transport_log::line("cannot read the Outbox", store_.last_error());
        outcome.retry = true;
        return;
    }
    for (const StoreDatabase::OutboxEntry& entry : *entries) {
        bool all_sent = true;
        bool failed = false;
        for (size_t i = 0; i < entry.message.recipients.size(); ++i) {
            Step step = send_to(modem, entry, i);
            all_sent &= step == Step::Sent;
            failed |= step == Step::Failed;
            outcome.retry |= step == Step::Later;
        }
        if (entry.message.recipients.empty()) {
            // Nobody to send to: a message the modem cannot take.
            transport_log::line("an Outbox message has no recipient");
            all_sent = false;
            failed = true;
        }
        if (all_sent) {
            if (store_.move_to_sent(entry.message.entry_id))
                ++outcome.sent;
            else
                outcome.retry = true;
        } else if (failed && !entry.message.failed) {
            if (store_.mark_failed(entry.message.entry_id)) ++outcome.failed;
        }
    }
}

ModemTransport::Step ModemTransport::send_to(const std::string& modem,
                                             const StoreDatabase::OutboxEntry& entry,
                                             size_t position) {
    const RecipientSend& record = entry.sends[position];
    if (record.state == RecipientSendState::Sent) return Step::Sent;
    if (record.state == RecipientSendState::Sending) return settle(modem, entry, position);

    const StoredMessage& m = entry.message;
    OutgoingSms out{m.recipients[position].number, m.body, m.delivery_report_requested};
    std::optional<std::string> sms = link_.create(modem, out);
    if (!sms) {
        transport_log::line("the modem refused to create a message", link_.last_error());
        return Step::Failed;
    }
    if (!store_.record_send(m.entry_id, position, {RecipientSendState::Sending, *sms})) {
        // Unrecorded, it must not leave: it could not be told from one never sent.
        transport_log::line("a message is not sent: the store cannot record it",
                            store_.last_error());
        link_.remove(modem, *sms);
        return Step::Later;
    }
    return send_created(modem, m, position, *sms);
}

ModemTransport::Step ModemTransport::send_created(const std::string& modem,
                                                  const StoredMessage& message, size_t position,
                                                  const std::string& sms) {
    if (link_.send(sms)) {
        if (!store_.record_send(message.entry_id, position, {RecipientSendState::Sent, sms}))
            return Step::Later;  // recorded Sending: settled from the modem's object later
        if (!link_.remove(modem, sms))
            transport_log::line("a sent message could not be deleted from the modem",
                                link_.last_error());
        return Step::Sent;
    }
    transport_log::line("the modem did not send a message", link_.last_error());
    if (link_.last_failure() == ModemLink::Failure::NoReply) return Step::Later;
    // An answered refusal: nothing left; the recipient is sent to afresh.
    link_.remove(modem, sms);
    store_.record_send(message.entry_id, position, {RecipientSendState::NotSent, {}});
    return Step::Failed;
}

ModemTransport::Step ModemTransport::settle(const std::string& modem,
                                            const StoreDatabase::OutboxEntry& entry,
                                            size_t position) {
    const StoredMessage& m = entry.message;
    const std::string& path = entry.sends[position].modem_path;
    std::optional<ModemSms> sms = link_.read(path);
    if (!sms) {
        if (link_.last_failure() != ModemLink::Failure::Gone) return Step::Later;
        // Whether it left cannot be known any more; sending it again could
        // send it twice. The message stays in the Outbox, marked failed.
        transport_log::line("a message's send was cut short and cannot be checked");
        return Step::Failed;
    }
    if (sms->state == MM_SMS_STATE_SENT) {
        if (!store_.record_send(m.entry_id, position, {RecipientSendState::Sent, path}))
            return Step::Later;
        link_.remove(modem, path);
        return Step::Sent;
    }
    if (sms->state == MM_SMS_STATE_STORED) return send_created(modem, m, position, path);
    return Step::Later;  // still sending
}
