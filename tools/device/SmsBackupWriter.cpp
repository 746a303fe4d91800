#include "tools/device/SmsBackupWriter.h"

#include "platform/LocalTime.h"
#include "platform/Utf16.h"
#include "platform/store/MessageFlags.h"
#include "tools/device/SmsCommands.h"

namespace {

// An attribute value in double quotes. Line breaks and tabs are written as
// references, because a parser turns literal ones in attributes into spaces.
// XML 1.0 cannot carry other control characters at all, not even as
// references: they become U+FFFD.
void attribute(std::string& out, const char* name, std::u16string_view value) {
    out += ' ';
    out += name;
    out += "=\"";
    std::u16string clean(value);
    for (char16_t& c : clean)
        if ((c < 0x20 && c != u'\n' && c != u'\r' && c != u'\t') || c == 0xFFFE || c == 0xFFFF)
            c = 0xFFFD;
    for (char c : utf16::to_utf8(clean)) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\n':
                out += "&#10;";
                break;
            case '\r':
                out += "&#13;";
                break;
            case '\t':
                out += "&#9;";
                break;
            default:
                out += c;
        }
    }
    out += '"';
}

void attribute(std::string& out, const char* name, const std::string& ascii) {
    attribute(out, name, utf16::from_ascii(ascii));
}

// The app's backup type of a folder: 1 received, 2 sent, 3 draft, 4 outbox,
// 5 failed; 0 for folders the format does not know.
int backup_type(const StoredMessage& m) {
    switch (m.folder) {
        case StoreFolderKind::Inbox:
            return 1;
        case StoreFolderKind::SentItems:
            return 2;
        case StoreFolderKind::Drafts:
            return 3;
        case StoreFolderKind::Outbox:
            return m.failed ? 5 : 4;
        default:
            return 0;
    }
}

void write_sms(std::string& out, const StoredMessage& m, int type, const std::u16string& address,
               const std::u16string& name) {
    int64_t utc = message_time(m).value_or(local_time::kUnixEpoch);
    int64_t ms = local_time::to_unix_ms(utc);
    std::string readable = local_time::to_iso8601(local_time::utc_to_local(utc));
    readable[10] = ' ';
    bool incoming = (m.flags & kMsgFlagFromMe) == 0;

    out += "  <sms";
    attribute(out, "protocol", "0");
    attribute(out, "address", address);
    attribute(out, "date", std::to_string(ms));
    attribute(out, "type", std::to_string(type));
    attribute(out, "subject", "null");
    attribute(out, "body", m.body);
    attribute(out, "toa", "null");
    attribute(out, "sc_toa", "null");
    if (m.smsc.empty())
        attribute(out, "service_center", "null");
    else
        attribute(out, "service_center", std::u16string_view(m.smsc));
    attribute(out, "read", (m.flags & kMsgFlagRead) ? "1" : "0");
    attribute(out, "status", "-1");
    attribute(out, "locked", "0");
    attribute(out, "date_sent", incoming ? std::to_string(ms) : "0");
    attribute(out, "readable_date", readable);
    attribute(out, "contact_name", name.empty() ? u"(Unknown)" : name);
    out += " />\n";
}

}  // namespace

SmsBackupText SmsBackupWriter::write(const std::vector<StoredMessage>& messages,
                                     int64_t backup_date_ms) {
    SmsBackupText result;
    std::string body;
    for (const StoredMessage& m : messages) {
        int type = backup_type(m);
        if (type == 0 || m.message_class.starts_with(u"REPORT.")) {
            ++result.skipped;
            continue;
        }
        if ((m.flags & kMsgFlagFromMe) == 0 || m.recipients.empty()) {
            write_sms(body, m, type, m.sender_number, m.sender_name);
            ++result.written;
            continue;
        }
        for (const StoredRecipient& r : m.recipients) {
            write_sms(body, m, type, r.number, r.name);
            ++result.written;
        }
    }
    std::string& xml = result.xml;
    xml =
        "<?xml version='1.0' encoding='UTF-8' standalone='yes' ?>\n"
        "<!--Exported by quillmo-device-->\n"
        "<smses count=\"" +
        std::to_string(result.written) + "\" backup_date=\"" + std::to_string(backup_date_ms) +
        "\" type=\"full\">\n";
    xml += body;
    xml += "</smses>\n";
    return result;
}
