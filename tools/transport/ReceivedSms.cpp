#include "tools/transport/ReceivedSms.h"

#include <ModemManager.h>

#include "platform/Utf16.h"
#include "platform/store/MessageFlags.h"
#include "tools/transport/ModemTime.h"

namespace {

// Text of the bus taken as UTF-8; flags text that was not.
std::u16string text_of(const std::string& utf8, bool& invalid) {
    std::u16string text = utf16::from_utf8(utf8);
    if (utf16::to_utf8(text) != utf8) invalid = true;
    return text;
}

bool delivered(uint32_t delivery_state) {
    return delivery_state <= MM_SMS_DELIVERY_STATE_COMPLETED_REPLACED_BY_SC;
}

}  // namespace

bool ReceivedSms::wanted(const ModemSms& sms) {
    if (sms.state != MM_SMS_STATE_RECEIVED) return false;
    return sms.pdu_type == MM_SMS_PDU_TYPE_DELIVER ||
           sms.pdu_type == MM_SMS_PDU_TYPE_STATUS_REPORT ||
           sms.pdu_type == MM_SMS_PDU_TYPE_CDMA_DELIVER;
}

StoredMessage ReceivedSms::to_stored(const ModemSms& sms, int64_t now, Damage& damage) {
    StoredMessage m;
    m.folder = StoreFolderKind::Inbox;
    m.sender_number = text_of(sms.number, damage.invalid_text);
    m.smsc = text_of(sms.smsc, damage.invalid_text);
    if (m.smsc.size() > kMaxNumberLength) m.smsc.resize(kMaxNumberLength);
    if (m.sender_number.size() > kMaxNumberLength) {
        m.sender_number.resize(kMaxNumberLength);
        damage.long_number = true;
    }
    std::optional<int64_t> stamped = modem_time::parse(sms.timestamp, now);
    damage.missing_time = !stamped;
    m.delivery_time = stamped.value_or(now);
    m.modification_time = now;

    if (sms.pdu_type == MM_SMS_PDU_TYPE_STATUS_REPORT) {
        bool ok = delivered(sms.delivery_state);
        // Filed read, as the loopback network files them: a report starts
        // no alert.
        m.flags = kMsgFlagRead;
        m.message_class = ok ? u"REPORT.IPM.SMStext.DR" : u"REPORT.IPM.SMStext.NDR";
        m.body = u"Message to " + m.sender_number + (ok ? u" delivered" : u" not delivered");
        return m;
    }
    if (sms.sms_class == 0) m.message_class = u"IPM.SMStext.Class0";
    if (!sms.text.empty() || sms.data_size == 0)
        m.body = text_of(sms.text, damage.invalid_text);
    else
        m.body =
            u"[8-bit data, " + utf16::number(static_cast<long long>(sms.data_size)) + u" bytes]";
    if (m.body.size() > kMaxBodyLength) m.body.resize(kMaxBodyLength);
    return m;
}
