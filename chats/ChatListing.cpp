#include "chats/ChatListing.h"

#include "chats/ChatModel.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"

std::vector<ChatListRow> ChatListing::rows(ChatModel& model) {
    std::vector<ChatListRow> out;
    int position = 0;
    for (const auto& chat : model.chats()) {
        ChatListRow row;
        row.position = position++;
        row.key = chat->key;
        row.name = chat->name;
        row.number = chat->number;
        row.label = chat->label;
        row.unread = chat->unread;
        row.messages = chat->size();
        if (!chat->empty()) {
            SmsRecord& last = chat->message(chat->size() - 1);
            if (model.load_sms(last)) {
                row.last_time = local_time::to_iso8601(last.time);
                row.last_body = last.body;
            }
        }
        out.push_back(std::move(row));
    }
    return out;
}

namespace {

// One line of at most `width` characters: line breaks become spaces and a
// longer text ends with "...".
std::u16string one_line(std::u16string_view text, size_t width) {
    std::u16string out;
    for (char16_t c : text) {
        if (out.size() == width) {
            out.replace(out.size() - 3, 3, u"...");
            break;
        }
        out.push_back(c == u'\n' || c == u'\t' ? u' ' : c);
    }
    return out;
}

}  // namespace

void ChatListing::write_text(const std::vector<ChatListRow>& rows, std::ostream& out) {
    if (rows.empty()) {
        out << "No chats.\n";
        return;
    }
    for (const ChatListRow& r : rows) {
        out << r.position << ". " << utf16::to_utf8(r.name.empty() ? r.number : r.name);
        if (!r.name.empty() && !r.number.empty()) out << " <" << utf16::to_utf8(r.number) << ">";
        if (!r.label.empty()) out << " (" << utf16::to_utf8(r.label) << ")";
        out << "  key " << utf16::to_utf8(r.key) << ", " << r.messages
            << (r.messages == 1 ? " message" : " messages");
        if (r.unread > 0) out << ", " << r.unread << " unread";
        out << "\n";
        if (!r.last_time.empty())
            out << "     " << r.last_time << "  " << utf16::to_utf8(one_line(r.last_body, 60))
                << "\n";
    }
}
