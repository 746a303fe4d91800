#include "tools/device/SmsCommands.h"

#include <cstdio>
#include <ostream>

#include "messaging/DeliveryNotify.h"
#include "messaging/EntryId.h"
#include "platform/JsonWriter.h"
#include "platform/LocalTime.h"
#include "platform/Utf16.h"
#include "platform/store/MessageFlags.h"
#include "platform/store/StoreDatabase.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/ToolError.h"

namespace {

constexpr uint32_t kStatusSms = 0x00040000;  // PR_MSG_STATUS of an SMS being sent

int64_t time_option(const CommandLine& line) {
    std::optional<std::string> text = line.value("--time");
    if (!text) return local_time::now_utc();
    std::optional<int64_t> local = local_time::parse_iso8601(*text);
    if (!local)
        throw usage_error("--time needs a local time such as 2026-11-22T10:05:00, not '" + *text +
                          "'");
    return local_time::local_to_utc(*local);
}

std::string nonempty(const CommandLine& line, const char* option) {
    std::optional<std::string> v = line.value(option);
    if (v && v->empty()) throw usage_error(std::string(option) + " needs a non-empty value");
    return v.value_or("");
}

std::vector<uint8_t> id_operand(const std::string& text) {
    EntryId id = EntryId::from_hex(text);
    if (id.empty()) throw usage_error("'" + text + "' is not an entry id (hexadecimal bytes)");
    return id.bytes();
}

std::string hex(const std::vector<uint8_t>& bytes) { return EntryId(bytes).hex(); }

// The message text operand, refused when no SMS could carry it.
std::u16string body_operand(const CommandLine& line) {
    std::u16string body = utf16::from_utf8(line.operands().front());
    if (body.size() > kMaxBodyLength)
        throw usage_error("the message text has " + std::to_string(body.size()) +
                          " characters; an SMS holds at most " + std::to_string(kMaxBodyLength));
    return body;
}

void file_message(DeviceContext& context, const StoredMessage& message) {
    std::vector<uint8_t> id = context.store().add_message(message);
    if (id.empty()) throw context.store_failure("cannot file the message");
    context.out() << hex(id) << '\n';
}

void run_deliver(DeviceContext& context, const CommandLine& line) {
    if (!line.has("--from")) throw usage_error("--from is required");
    StoredMessage m;
    m.folder = StoreFolderKind::Inbox;
    m.sender_number = utf16::from_utf8(nonempty(line, "--from"));
    m.sender_name = utf16::from_utf8(line.value("--name").value_or(""));
    m.flags = line.has("--read") ? kMsgFlagRead : 0;
    if (line.has("--class")) m.message_class = utf16::from_utf8(nonempty(line, "--class"));
    m.delivery_time = m.modification_time = time_option(line);
    m.body = body_operand(line);
    file_message(context, m);
}

void run_add(DeviceContext& context, const CommandLine& line) {
    std::optional<std::string> folder_text = line.value("--folder");
    if (!folder_text) throw usage_error("--folder is required");
    StoredMessage m;
    m.folder = parse_folder(*folder_text);

    std::vector<std::string> to = line.values("--to");
    bool incoming = line.has("--from");
    if (incoming == !to.empty()) throw usage_error("give either --from or one or more --to");
    if (line.has("--name") && !incoming)
        throw usage_error("--name goes with --from; use --to NUMBER=NAME");
    if (incoming) {
        m.sender_number = utf16::from_utf8(nonempty(line, "--from"));
        m.sender_name = utf16::from_utf8(line.value("--name").value_or(""));
    }
    for (const std::string& t : to) {
        size_t eq = t.find('=');
        StoredRecipient r;
        r.number = utf16::from_utf8(t.substr(0, eq));
        if (eq != std::string::npos) r.name = utf16::from_utf8(t.substr(eq + 1));
        if (r.number.empty()) throw usage_error("--to needs a number, as in --to NUMBER[=NAME]");
        m.recipients.push_back(std::move(r));
    }

    m.flags = incoming ? 0 : kMsgFlagFromMe;
    if (line.has("--read")) m.flags |= kMsgFlagRead;
    if (m.folder == StoreFolderKind::Outbox) m.flags |= kMsgFlagUnsent;
    if (std::optional<std::string> flags = line.value("--flags"))
        m.flags = CommandLine::parse_number(*flags, "--flags");
    if (line.has("--class")) m.message_class = utf16::from_utf8(nonempty(line, "--class"));
    m.delivery_time = m.modification_time = time_option(line);
    m.body = body_operand(line);

    // An outgoing message in the Outbox is handed to the transport, as the
    // application's own sending does; "sms transmit" then sends it.
    if (m.folder == StoreFolderKind::Outbox && !incoming) {
        context.existing_device_folder();  // before the registry, which would create it
        m.submitted = true;
        m.msg_status = kStatusSms;
        // Whether the phone asks the network for delivery reports: the
        // system's messaging setting, read as the program's sending reads it.
        m.delivery_report_requested = DeliveryNotify::read().wanted();
    }
    file_message(context, m);
}

std::string local_time_text(const StoredMessage& m) {
    std::optional<int64_t> t = message_time(m);
    return t ? local_time::to_iso8601(local_time::utc_to_local(*t)) : std::string();
}

void write_json(std::ostream& out, const std::vector<StoredMessage>& messages) {
    std::string text;
    JsonWriter json(text);
    json.begin_array(true);
    for (const StoredMessage& m : messages) {
        json.begin_object();
        json.key("id");
        json.value_utf8(hex(m.entry_id));
        json.key("folder");
        json.value(static_cast<int64_t>(m.folder));
        json.key("flags");
        json.value(static_cast<int64_t>(m.flags));
        json.key("time");
        if (message_time(m))
            json.value_utf8(local_time_text(m));
        else
            json.null();
        json.key("from");
        json.value(m.sender_number);
        json.key("name");
        json.value(m.sender_name);
        json.key("to");
        json.begin_array();
        for (const StoredRecipient& r : m.recipients) {
            json.begin_object();
            json.key("name");
            json.value(r.name);
            json.key("number");
            json.value(r.number);
            json.end_object();
        }
        json.end_array();
        json.key("class");
        json.value(m.message_class);
        json.key("body");
        json.value(m.body);
        json.end_object();
    }
    json.end_array();
    out << text << '\n';
}

// "Name <number>" of a correspondent, or the bare number.
std::u16string party(std::u16string_view name, std::u16string_view number) {
    if (name.empty()) return std::u16string(number);
    return std::u16string(name) + u" <" + std::u16string(number) + u">";
}

bool is_high_surrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Shows text in a column of width characters (code points, so that Cyrillic
// and emoji line up too), the last of which stays blank so that columns never
// touch. Longer text is cut with "…"; line breaks show as "⏎".
std::string cell(std::u16string_view text, size_t width, bool pad = true) {
    size_t total = 0;
    for (size_t i = 0; i < text.size(); ++i, ++total)
        if (is_high_surrogate(text[i]) && i + 1 < text.size()) ++i;
    size_t room = width - 1;
    size_t keep = total <= room ? total : room - 1;
    std::u16string out;
    size_t chars = 0;
    for (size_t i = 0; chars < keep; ++i, ++chars) {
        char16_t c = text[i];
        out.push_back(c == u'\n' ? u'⏎' : (c < 0x20 ? u' ' : c));
        if (is_high_surrogate(c) && i + 1 < text.size()) out.push_back(text[++i]);
    }
    if (total > room) {
        out.push_back(u'…');
        ++chars;
    }
    if (pad) out.append(width - chars, u' ');
    return utf16::to_utf8(out);
}

void write_table(std::ostream& out, const std::vector<StoredMessage>& messages) {
    out << cell(u"ID", 34) << cell(u"FOLDER", 8) << cell(u"FLAGS", 7) << cell(u"TIME", 21)
        << cell(u"FROM/TO", 26) << "BODY\n";
    for (const StoredMessage& m : messages) {
        std::u16string who;
        if (!m.sender_number.empty() || m.recipients.empty()) {
            who = party(m.sender_name, m.sender_number);
        } else {
            who = u"→ " + party(m.recipients.front().name, m.recipients.front().number);
            if (m.recipients.size() > 1)
                who += u" +" + utf16::number(static_cast<long long>(m.recipients.size() - 1));
        }
        char flags[16];
        std::snprintf(flags, sizeof flags, "0x%02x", m.flags);
        std::string id = hex(m.entry_id);
        out << id << std::string(id.size() < 34 ? 34 - id.size() : 1, ' ')
            << cell(utf16::from_ascii(folder_word(m.folder)), 8)
            << cell(utf16::from_ascii(flags), 7) << cell(utf16::from_ascii(local_time_text(m)), 21)
            << cell(who, 26) << cell(m.body, 60, false) << '\n';
    }
}

void run_list(DeviceContext& context, const CommandLine& line) {
    std::optional<StoreFolderKind> folder;
    if (std::optional<std::string> f = line.value("--folder")) folder = parse_folder(*f);
    std::optional<std::vector<StoredMessage>> messages = context.store().list_messages(folder);
    if (!messages) throw context.store_failure("cannot list the messages");
    if (line.has("--json"))
        write_json(context.out(), *messages);
    else
        write_table(context.out(), *messages);
}

StoredMessage existing_message(DeviceContext& context, const std::vector<uint8_t>& id) {
    std::optional<StoredMessage> m = context.store().find_message(id);
    if (!m && context.store().store_failed())
        throw context.store_failure("cannot read message " + hex(id));
    if (!m) throw failure("no message with id " + hex(id));
    return *m;
}

void run_delete(DeviceContext& context, const CommandLine& line) {
    std::vector<uint8_t> id = id_operand(line.operands().front());
    existing_message(context, id);
    if (!context.store().delete_message(id))
        throw context.store_failure("cannot delete message " + hex(id));
    context.out() << "deleted " << hex(id) << '\n';
}

void run_mark_read(DeviceContext& context, const CommandLine& line) {
    std::vector<uint8_t> id = id_operand(line.operands().front());
    existing_message(context, id);
    if (!context.store().set_read(id, true))
        throw context.store_failure("cannot mark message " + hex(id) + " read");
    context.out() << "marked " << hex(id) << " read\n";
}

void run_transmit(DeviceContext& context, const CommandLine& line) {
    std::vector<std::u16string> fail;
    for (const std::string& number : line.values("--fail"))
        fail.push_back(utf16::from_utf8(number));
    std::optional<StoreDatabase::TransmitResult> r = context.store().transmit(fail);
    if (!r) throw context.store_failure("the transport could not transmit the Outbox");
    context.out() << "sent " << r->sent << ", failed " << r->failed << ", reports " << r->reports
                  << '\n';
}

const std::vector<OptionSpec> kTimeClassRead = {
    {"--time", "ISO8601"}, {"--read", ""}, {"--class", "CLASS"}};

std::vector<OptionSpec> with(std::vector<OptionSpec> options, const std::vector<OptionSpec>& more) {
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

const std::string kTimeHelp =
    "  TEXT              at most " + std::to_string(kMaxBodyLength) +
    " characters, the most an SMS can carry\n"
    "  --time ISO8601    local time, as 2026-11-22T10:05:00 (default: now)\n"
    "  --read            the message has been read (flag 0x01)\n"
    "  --class CLASS     message class (default IPM.SMStext; delivery reports are\n"
    "                    REPORT.IPM.SMStext.DR and REPORT.IPM.SMStext.NDR)\n";

}  // namespace

StoreFolderKind parse_folder(std::string_view word) {
    if (word == "inbox") return StoreFolderKind::Inbox;
    if (word == "sent") return StoreFolderKind::SentItems;
    if (word == "drafts") return StoreFolderKind::Drafts;
    if (word == "outbox") return StoreFolderKind::Outbox;
    throw usage_error("--folder is one of inbox, sent, drafts, outbox, not '" + std::string(word) +
                      "'");
}

const char* folder_word(StoreFolderKind folder) {
    switch (folder) {
        case StoreFolderKind::Inbox:
            return "inbox";
        case StoreFolderKind::SentItems:
            return "sent";
        case StoreFolderKind::Drafts:
            return "drafts";
        case StoreFolderKind::Outbox:
            return "outbox";
        case StoreFolderKind::Root:
            return "root";
        case StoreFolderKind::DeletedItems:
            return "deleted";
    }
    return "?";
}

std::optional<int64_t> message_time(const StoredMessage& message) {
    return message.delivery_time ? message.delivery_time : message.modification_time;
}

std::vector<Command> sms_commands() {
    std::vector<Command> out;

    Command deliver;
    deliver.words = {"sms", "deliver"};
    deliver.synopsis = "--from NUMBER [--name NAME] [--time ISO8601] [--read] [--class CLASS] TEXT";
    deliver.summary = "Files an incoming message in the Inbox and prints its entry id.";
    deliver.details = std::string(
                          "  --from NUMBER     the sender's number or alphanumeric name\n"
                          "  --name NAME       the sender's display name\n") +
                      kTimeHelp;
    deliver.options = with({{"--from", "NUMBER"}, {"--name", "NAME"}}, kTimeClassRead);
    deliver.min_operands = deliver.max_operands = 1;
    deliver.run = run_deliver;
    out.push_back(std::move(deliver));

    Command add;
    add.words = {"sms", "add"};
    add.synopsis =
        "--folder inbox|sent|drafts|outbox [--from NUMBER [--name NAME]] [--to NUMBER[=NAME]]... "
        "[--time ISO8601] [--read] [--flags N] [--class CLASS] TEXT";
    add.summary =
        "Files a message in any folder and prints its entry id. With --from it is incoming, "
        "with --to outgoing (flag 0x20); an outgoing message in the Outbox is unsent (0x08) "
        "and submitted, so that 'sms transmit' sends it.";
    add.details = std::string(
                      "  --folder FOLDER   inbox, sent, drafts or outbox\n"
                      "  --from NUMBER     sender of an incoming message\n"
                      "  --name NAME       the sender's display name\n"
                      "  --to NUMBER[=NAME]  a recipient of an outgoing message (repeatable)\n") +
                  kTimeHelp +
                  "  --flags N         the message flags outright (decimal or 0x hexadecimal)\n";
    add.options = with({{"--folder", "FOLDER"},
                        {"--from", "NUMBER"},
                        {"--name", "NAME"},
                        {"--to", "NUMBER[=NAME]", true},
                        {"--flags", "N"}},
                       kTimeClassRead);
    add.min_operands = add.max_operands = 1;
    add.run = run_add;
    out.push_back(std::move(add));

    Command list;
    list.words = {"sms", "list"};
    list.synopsis = "[--folder inbox|sent|drafts|outbox] [--json]";
    list.summary = "Lists the messages of one folder or of all four, in store order.";
    list.details =
        "  --json            a JSON array of {id, folder, flags, time, from, name,\n"
        "                    to: [{name, number}], class, body}; time is local\n";
    list.options = {{"--folder", "FOLDER"}, {"--json", ""}};
    list.run = run_list;
    out.push_back(std::move(list));

    Command del;
    del.words = {"sms", "delete"};
    del.synopsis = "ID";
    del.summary = "Deletes the message with the entry id ID (hexadecimal, as 'sms list' shows it).";
    del.min_operands = del.max_operands = 1;
    del.run = run_delete;
    out.push_back(std::move(del));

    Command read;
    read.words = {"sms", "mark-read"};
    read.synopsis = "ID";
    read.summary = "Marks the message with the entry id ID read.";
    read.min_operands = read.max_operands = 1;
    read.run = run_mark_read;
    out.push_back(std::move(read));

    Command transmit;
    transmit.words = {"sms", "transmit"};
    transmit.synopsis = "[--fail NUMBER]...";
    transmit.summary =
        "Sends every submitted Outbox message: it moves to Sent Items, and a delivery "
        "report is filed in the Inbox when one was requested.";
    transmit.details =
        "  --fail NUMBER     messages to this number fail and stay in the Outbox\n"
        "                    (repeatable)\n";
    transmit.options = {{"--fail", "NUMBER", true}};
    transmit.run = run_transmit;
    out.push_back(std::move(transmit));
    return out;
}
