#pragma once
// What a message bubble's icon shows: the page of the "icon" multinode of the
// SMSItem nodes.
#include <cstdint>

struct SmsRecord;

enum MessageState : int32_t {
    kStateIncomingRead = 0,
    kStateIncomingUnread = 1,
    kStateSent = 2,          // Sent Items
    kStateWaiting = 3,       // Outbox: not sent yet
    kStateDraft = 4,         // Drafts
    kStateDelivered = 5,     // a delivery report
    kStateNotDelivered = 6,  // a non-delivery report
};

// The state of a read record. A delivery report shows as a report whatever
// folder holds it.
MessageState message_state(const SmsRecord& record);
