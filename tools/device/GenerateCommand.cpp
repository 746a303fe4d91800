#include "tools/device/GenerateCommand.h"

#include <ostream>

#include "platform/store/StoreDatabase.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/HistoryGenerator.h"
#include "tools/device/Progress.h"
#include "tools/device/ToolError.h"

namespace {

// Far beyond any phone's history, and small enough to be held in memory.
constexpr uint32_t kMaxMessages = 10'000'000;

void run_generate(DeviceContext& context, const CommandLine& line) {
    std::optional<std::string> messages_text = line.value("--messages");
    std::optional<std::string> chats_text = line.value("--chats");
    if (!messages_text || !chats_text) throw usage_error("--messages and --chats are required");
    uint32_t messages = CommandLine::parse_number(*messages_text, "--messages");
    uint32_t chats = CommandLine::parse_number(*chats_text, "--chats");
    uint32_t seed =
        line.has("--seed") ? CommandLine::parse_number(*line.value("--seed"), "--seed") : 1;
    if (messages == 0 || messages > kMaxMessages)
        throw usage_error("--messages must lie from 1 to " + std::to_string(kMaxMessages));
    if (chats == 0 || chats > messages)
        throw usage_error("--chats must lie from 1 to the number of messages");

    StoreDatabase& store = context.store();
    std::vector<StoredMessage> history = HistoryGenerator(messages, chats, seed).generate();
    Progress progress(context.err(), "storing");
    if (!store.add_messages(history, progress.callback()))
        throw failure("the message store refused the messages; nothing added");
    context.out() << "generated " << history.size() << " messages in " << chats << " chats\n";
}

}  // namespace

Command generate_command() {
    Command c;
    c.words = {"sms", "generate"};
    c.synopsis = "--messages N --chats C [--seed S]";
    c.summary =
        "Adds a realistic synthetic history of N messages with C correspondents, the same "
        "for the same seed (default 1).";
    c.details =
        "  Russian and English conversations in bursts over months, numbers written in\n"
        "  several ways, automated senders, delivery reports, a few drafts and failed\n"
        "  messages; the newest few incoming messages are unread.\n";
    c.options = {{"--messages", "N"}, {"--chats", "C"}, {"--seed", "S"}};
    c.run = run_generate;
    return c;
}
