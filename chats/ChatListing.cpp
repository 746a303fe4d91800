#include "chats/ChatListing.h"

#include "chats/ChatModel.h"
#include "platform/LocalTime.h"
#include "platform/TerminalText.h"

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
                row.last_body = last.body();
            }
        }
        out.push_back(std::move(row));
    }
    return out;
}

namespace {

// At most `width` code units: a longer text ends with "...". A surrogate
// pair is never cut in two.
std::u16string shortened(std::u16string_view text, size_t width) {
    if (text.size() <= width) return std::u16string(text);
    size_t keep = width - 3;
    if (keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
    return std::u16string(text.substr(0, keep)) + u"...";
}

// Names, numbers, keys and bodies come from messages and contacts: each is
// printed on one line, with every control character replaced.
std::string cell(std::u16string_view text) { return terminal_text::clean(text); }

}  // namespace

void ChatListing::write_text(const std::vector<ChatListRow>& rows, std::ostream& out) {
    if (rows.empty()) {
        out << "No chats.\n";
        return;
    }
    for (const ChatListRow& r : rows) {
        out << r.position << ". " << cell(r.name.empty() ? r.number : r.name);
        if (!r.name.empty() && !r.number.empty()) out << " <" << cell(r.number) << ">";
        if (!r.label.empty()) out << " (" << cell(r.label) << ")";
        out << "  key " << cell(r.key) << ", " << r.messages
            << (r.messages == 1 ? " message" : " messages");
        if (r.unread > 0) out << ", " << r.unread << " unread";
        out << "\n";
        if (!r.last_time.empty())
            out << "     " << r.last_time << "  " << cell(shortened(r.last_body, 60)) << "\n";
    }
}
