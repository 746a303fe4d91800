#include "tools/device/ChatsCommand.h"

#include "chats/ChatListing.h"
#include "chats/ChatModel.h"
#include "platform/JsonWriter.h"
#include "platform/Utf16.h"
#include "platform/store/StoreDatabase.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/ToolError.h"

namespace {

void write_json(const std::vector<ChatListRow>& rows, std::ostream& out) {
    std::string text;
    JsonWriter json(text);
    json.begin_array();
    for (const ChatListRow& r : rows) {
        json.begin_object();
        json.key("key");
        json.value(r.key);
        json.key("name");
        json.value(r.name);
        json.key("number");
        json.value(r.number);
        json.key("label");
        json.value(r.label);
        json.key("unread");
        json.value(static_cast<int64_t>(r.unread));
        json.key("messages");
        json.value(static_cast<int64_t>(r.messages));
        json.key("last_time");
        if (r.last_time.empty())
            json.null();
        else
            json.value_utf8(r.last_time);
        json.key("last_body");
        json.value(r.last_body);
        json.end_object();
    }
    json.end_array();
    out << text << '\n';
}

// The program shows what it could read of a store it cannot read; a listing
// must not pass that off as the store's chats.
void check_store_read(DeviceContext& context, ChatModel& model, uint64_t errors_before) {
    if (!model.store().has_store()) {
        context.store();  // fails with the store's own reason when it has one
        throw failure("no SMS store in " + context.existing_device_folder() + "/store.db");
    }
    if (sms_manager::store_errors() != errors_before)
        throw failure(context.existing_device_folder() +
                      "/store.db could not be read in full (damaged or unreadable); the chat "
                      "list would be incomplete");
}

void run_chats(DeviceContext& context, const CommandLine& line) {
    context.existing_device_folder();
    uint64_t errors_before = sms_manager::store_errors();
    // As the program starts: the model loads the cache, then brings the
    // chats up to date with the store. It is not started, so it writes
    // nothing: neither the cache nor the registry.
    ChatModel model;
    model.load(nullptr);
    std::vector<ChatListRow> rows = ChatListing::rows(model);
    check_store_read(context, model, errors_before);
    if (line.has("--json"))
        write_json(rows, context.out());
    else
        ChatListing::write_text(rows, context.out());
}

}  // namespace

Command chats_command() {
    Command c;
    c.words = {"chats"};
    c.synopsis = "[--json]";
    c.summary = "Show the chat list as the program builds it at start.";
    c.details =
        "Runs the chat model as the program does when it starts: loads the chat cache of\n"
        "the device and brings the chats up to date with the message store. Only reads:\n"
        "the cache and the registry are left as they are. Prints the chats in list order:\n"
        "position, key, name, number, label, unread count, message count, and the time\n"
        "and text of the last message.\n"
        "\n"
        "  --json   an array of {key, name, number, label, unread, messages, last_time,\n"
        "           last_body}; last_time is ISO 8601 local time\n";
    c.options = {{"--json", "", false}};
    c.run = run_chats;
    return c;
}
