#include "forms/chat/MessageState.h"

#include "messaging/SmsRecord.h"

MessageState message_state(const SmsRecord& record) {
    switch (record.report) {
        case ReportKind::Delivered:
            return kStateDelivered;
        case ReportKind::NotDelivered:
            return kStateNotDelivered;
        case ReportKind::None:
            break;
    }
    switch (record.folder) {
        case kFolderSent:
            return kStateSent;
        case kFolderOutbox:
            return kStateWaiting;
        case kFolderDrafts:
            return kStateDraft;
        case kFolderInbox:
            break;
    }
    return record.unread() ? kStateIncomingUnread : kStateIncomingRead;
}
