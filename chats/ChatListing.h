#pragma once
// The chat list as plain rows, for the terminal view and the device tool: one
// row per chat in list order, with the chat's newest message read from the
// store when the list needs its time and text.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class ChatModel;

struct ChatListRow {
    int position = 0;
    std::u16string key;
    std::u16string name;
    std::u16string number;
    std::u16string label;
    int32_t unread = 0;
    size_t messages = 0;
    std::string last_time;  // ISO 8601 local time, empty when unknown
    std::u16string last_body;
};

class ChatListing {
public:
    static std::vector<ChatListRow> rows(ChatModel& model);
    // A readable table, one chat a line; bodies are cut to one short line.
    // Stored text is filtered for the terminal: control characters (escape
    // sequences among them) never reach it, and a line break shows as "⏎".
    static void write_text(const std::vector<ChatListRow>& rows, std::ostream& out);
};
