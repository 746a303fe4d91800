// The whole program as a user goes through its forms: opening a chat, writing
// and sending (also to a number typed by hand), deleting, picking recipients,
// templates, another language and a skin that cannot be shown, and messages
// arriving while the program is in front.
// Each run plays a script on a device prepared by quillmo-device and is judged
// by what the program leaves behind: the store, the chat list, the registry,
// the log and its screen dumps.
//
// Menu rows have no ids, so a script taps them at points taken from a dump of
// the same screen at 240x320. Every such tap dumps the screen first, and the
// run fails when the point no longer lies on the element it was meant for.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/DeviceRun.h"
#include "lang/Dictionary.h"
#include "platform/Registry.h"
#include "platform/SqliteDatabase.h"
#include "platform/Utf16.h"
#include "support/Contains.h"
#include "tools/skinc/JsonValue.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr char16_t kSettings[] = u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo";
constexpr char16_t kSystemUnread[] = u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread";
// Long enough for a menu's or a form's appearing animation to end.
constexpr char kSettle[] = "wait 700";
constexpr char kAnna[] = "+79001234567";

// A language's text for key, as the program shows it.
std::string text_in(const char* language, const char16_t* key) {
    Dictionary dictionary;
    EXPECT_TRUE(dictionary.load(utf16::from_utf8(program_dir() + "/" + language + ".lng")));
    return utf16::to_utf8(dictionary.text(key));
}
std::string en(const char16_t* key) { return text_in("english", key); }

std::optional<JsonValue> parse(const std::string& text) {
    std::string error;
    std::optional<JsonValue> value = JsonValue::parse(text, &error);
    EXPECT_TRUE(value) << error << "\n" << text;
    return value;
}

// A member of the tool's JSON objects as text ("<no NAME>" when missing).
std::string member(const JsonValue& object, const char* name) {
    const JsonValue* value = object.find(name);
    if (!value) return "<no " + std::string(name) + ">";
    return value->type == JsonValue::Type::string ? value->text : std::to_string(value->number);
}

// The numbers a message of the tool's list went to, sorted.
std::vector<std::string> numbers_to(const JsonValue& message) {
    std::vector<std::string> numbers;
    if (const JsonValue* to = message.find("to"))
        for (const JsonValue& one : to->items) numbers.push_back(member(one, "number"));
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// ---- Dumps: forms bottom first, each a tree of visible elements ----

// The top form's tree; a null value when the dump is empty.
JsonValue top_form(const std::optional<JsonValue>& dump) {
    if (!dump || dump->items.empty()) return {};
    const JsonValue* form = dump->items.back().find("form");
    return form ? *form : JsonValue{};
}

int number(const JsonValue& element, const char* name) {
    const JsonValue* value = element.find(name);
    return value ? static_cast<int>(value->number) : 0;
}

std::string element_text(const JsonValue& element) {
    const JsonValue* value = element.find("text");
    return value ? value->text : std::string();
}

template <typename Match>
const JsonValue* find_element(const JsonValue& element, const Match& match) {
    if (element.type != JsonValue::Type::object) return nullptr;
    if (match(element)) return &element;
    if (const JsonValue* children = element.find("children"))
        for (const JsonValue& child : children->items)
            if (const JsonValue* found = find_element(child, match)) return found;
    return nullptr;
}

const JsonValue* by_id(const JsonValue& tree, const std::string& id) {
    return find_element(tree, [&](const JsonValue& e) {
        const JsonValue* value = e.find("id");
        return value && value->text == id;
    });
}

std::string text_of(const JsonValue& tree, const std::string& id) {
    const JsonValue* element = by_id(tree, id);
    return element ? element_text(*element) : "<no " + id + ">";
}

bool shows(const JsonValue& tree, const std::string& shown) {
    return find_element(tree, [&](const JsonValue& e) { return element_text(e) == shown; });
}

// Each element showing a text, one a line with its rectangle, for a failure
// to say where things are.
std::string texts_on(const JsonValue& tree) {
    std::string out;
    find_element(tree, [&](const JsonValue& e) {
        if (e.find("text"))
            out += "\"" + element_text(e) + "\" at " + std::to_string(number(e, "x")) + "," +
                   std::to_string(number(e, "y")) + " " + std::to_string(number(e, "width")) + "x" +
                   std::to_string(number(e, "height")) + "\n";
        return false;
    });
    return out;
}

// The texts of the bubbles ("body" elements) from the top of the list down.
std::vector<std::string> bodies(const JsonValue& tree) {
    std::vector<std::pair<int, std::string>> found;
    find_element(tree, [&](const JsonValue& e) {
        const JsonValue* id = e.find("id");
        if (id && id->text == "body") found.emplace_back(number(e, "y"), element_text(e));
        return false;
    });
    std::sort(found.begin(), found.end());
    std::vector<std::string> out;
    for (auto& [y, body] : found) out.push_back(body);
    return out;
}

// ---- Scripts ----

class FlowScript {
public:
    // Every flow begins on the chat list.
    explicit FlowScript(fs::path folder) : folder_(std::move(folder)) {
        then("wait-for-id btnNew 20000");
    }

    FlowScript& then(const std::string& lines) {
        text_ += lines + "\n";
        return *this;
    }
    FlowScript& dump(const std::string& name) { return then("dump " + path(name)); }
    // Waits for the form with element id and for its appearing to end.
    FlowScript& settle_on(const std::string& id) {
        return then("wait-for-id " + id + " 5000").then(kSettle);
    }
    FlowScript& menu() { return then("tap-id btnMenu").then(kSettle); }
    FlowScript& send(const std::string& text) {
        return then("tap-id edit\ntype " + text + "\ntap-id btnSend");
    }

    // Taps (x, y), which should lie on the visible element of the top form
    // that shows label; the screen is dumped just before, for check_taps().
    FlowScript& tap_on(const std::string& label, int x, int y) {
        std::string name = "tap" + std::to_string(taps_.size());
        taps_.push_back({name, label, x, y});
        return dump(name).then("tap " + std::to_string(x) + " " + std::to_string(y));
    }
    FlowScript& open_chat(const std::string& label, int y) {
        return tap_on(label, 100, y).settle_on("btnSend");
    }

    std::string path(const std::string& name) const {
        return (folder_ / (name + ".json")).string();
    }
    const std::string& text() const { return text_; }

    // Every tap_on point lay on an element showing its label.
    void check_taps() const {
        for (const Tap& tap : taps_) {
            std::string dumped = read_file(path(tap.dump));
            JsonValue top = top_form(parse(dumped));
            bool hit = find_element(top, [&](const JsonValue& e) {
                int left = number(e, "x"), top_y = number(e, "y");
                return element_text(e) == tap.label && tap.x >= left &&
                       tap.x < left + number(e, "width") && tap.y >= top_y &&
                       tap.y < top_y + number(e, "height");
            });
            EXPECT_TRUE(hit) << "(" << tap.x << ", " << tap.y << ") is not on \"" << tap.label
                             << "\" in " << tap.dump << ":\n"
                             << texts_on(top);
        }
    }

private:
    struct Tap {
        std::string dump, label;
        int x, y;
    };
    fs::path folder_;
    std::string text_;
    std::vector<Tap> taps_;
};

// ---- The runs ----

class ProgramFlow : public DeviceRun {
protected:
    std::optional<JsonValue> tool_json(std::vector<std::string> args) {
        args.push_back("--json");
        return parse(tool(args));
    }

    // Two unread messages from Anna's number, the newest chat, and an older
    // read one from London.
    void prepare_chats() {
        tool({"sms", "deliver", "--from", kAnna, "--time", "2026-11-22T10:00:00",
              "Are you free tonight?"});
        tool({"sms", "deliver", "--from", kAnna, "--time", "2026-11-22T10:05:00", "Call me back"});
        tool({"sms", "deliver", "--from", "+44 20 7946 0958", "--time", "2026-11-21T09:00:00",
              "--read", "Tea at five"});
    }

    FlowScript script() const { return FlowScript(file("")); }

    std::unique_ptr<ChildProcess> begin(const FlowScript& flow) {
        return program(flow.text() + "quit\n");
    }

    // Plays flow to its end; false when the program failed.
    bool play(const FlowScript& flow) { return finish(*begin(flow), flow); }
    bool finish(ChildProcess& run, const FlowScript& flow) {
        int status = run.wait(60s);
        EXPECT_EQ(status, 0) << run.err();
        flow.check_taps();
        return status == 0;
    }

    JsonValue screen(const FlowScript& flow, const std::string& name) const {
        return top_form(parse(read_file(flow.path(name))));
    }

    // The store's messages with body, in any folder.
    std::vector<JsonValue> messages_with(const std::string& body) {
        std::vector<JsonValue> found;
        if (auto all = tool_json({"sms", "list"}))
            for (const JsonValue& message : all->items)
                if (member(message, "body") == body) found.push_back(message);
        return found;
    }

    // A member of the chat list's entry for number; "<no chat>" without one.
    std::string chat_member(const std::string& number, const char* name) {
        if (auto chats = tool_json({"chats"}))
            for (const JsonValue& one : chats->items)
                if (member(one, "number") == number) return member(one, name);
        return "<no chat>";
    }
};

std::string registry_text(const char16_t* name) {
    std::u16string value;
    return registry::read_string(kSettings, name, value) ? utf16::to_utf8(value) : "<none>";
}

int64_t registry_number(const char16_t* key, const char16_t* name) {
    uint32_t value = 0;
    return registry::read_number(key, name, value) ? value : -1;
}

// The part counter for a plain text that fits one message.
std::string counter(const std::string& text) {
    size_t n = utf16::from_utf8(text).size();
    return "1 " + en(u"SMS") + " (" + std::to_string(160 - n) + ")";
}

TEST_F(ProgramFlow, OpeningAChatReadsItAndASentMessageLeavesThroughTheOutbox) {
    prepare_chats();
    ASSERT_TRUE(registry::write_number(kSettings, u"Unread", 2));
    // The store refuses one text, as a full or read-only store refuses all.
    {
        std::string error;
        auto store = SqliteDatabase::open((device_.device() / "store.db").string(), &error);
        ASSERT_TRUE(store) << error;
        ASSERT_TRUE(store->exec(
            "CREATE TRIGGER refuse BEFORE INSERT ON messages WHEN NEW.subject = 'Not this one' "
            "BEGIN SELECT RAISE(ABORT, 'refused'); END;"));
    }

    FlowScript flow = script();
    flow.dump("list")
        .open_chat(kAnna, 60)
        .then("tap-id edit\ntype See you at eight")
        .dump("typed")
        .then("tap-id btnSend\nwait 2500")
        .dump("sent")
        .send("Not this one")
        .then("wait 1500")
        .dump("refused")
        .then("tap-id btnClose")
        .settle_on("btnNew")
        .dump("back")
        .open_chat(kAnna, 60)
        .dump("again");
    ASSERT_TRUE(play(flow));

    // Opened: the chat, the store and both counters know it is read.
    EXPECT_EQ(text_of(screen(flow, "list"), "unread"), "(2)");
    EXPECT_EQ(by_id(screen(flow, "back"), "unread"), nullptr);
    for (const char* body : {"Are you free tonight?", "Call me back"}) {
        std::vector<JsonValue> read = messages_with(body);
        ASSERT_EQ(read.size(), 1u) << body;
        EXPECT_EQ(member(read[0], "flags"), "1") << body;
    }
    EXPECT_EQ(chat_member(kAnna, "unread"), "0");
    EXPECT_EQ(registry_number(kSettings, u"Unread"), 0);
    EXPECT_EQ(registry_number(kSystemUnread, u"Count"), 0);

    // Sent: through the Outbox to the chat's number, then Sent Items; the
    // bubble stays over the polls that followed, the field is empty again.
    EXPECT_EQ(text_of(screen(flow, "typed"), "symbols"), counter("See you at eight"));
    std::vector<JsonValue> sent = messages_with("See you at eight");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(member(sent[0], "folder"), "1");
    EXPECT_EQ(numbers_to(sent[0]), std::vector<std::string>{kAnna});
    JsonValue after = screen(flow, "sent");
    EXPECT_EQ(bodies(after).back(), "See you at eight");
    EXPECT_EQ(text_of(after, "edit"), "");
    EXPECT_EQ(text_of(after, "symbols"), counter(""));

    // Refused: the text stays, in the field and with the chat, and nothing
    // else is lost or started.
    JsonValue refused = screen(flow, "refused");
    EXPECT_EQ(text_of(refused, "edit"), "Not this one");
    EXPECT_EQ(text_of(refused, "symbols"), counter("Not this one"));
    EXPECT_TRUE(messages_with("Not this one").empty());
    JsonValue again = screen(flow, "again");
    EXPECT_EQ(text_of(again, "edit"), "Not this one");
    EXPECT_EQ(bodies(again), (std::vector<std::string>{"Are you free tonight?", "Call me back",
                                                       "See you at eight"}));
    EXPECT_EQ(chat_member(kAnna, "messages"), "3");
}

TEST_F(ProgramFlow, DeletedMessagesAndChatsLeaveTheStoreAndANumberTypedByHandGetsItsMessage) {
    prepare_chats();
    FlowScript flow = script();
    flow.open_chat(kAnna, 60)
        .tap_on("Are you free tonight?", 60, 95)
        .then(kSettle)
        .tap_on(en(u"DeleteSMS"), 100, 122)
        .then(kSettle)
        .dump("one_gone")
        .then("tap-id btnClose")
        .settle_on("btnNew")
        .open_chat("+44 20 7946 0958", 116)
        .menu()
        .tap_on(en(u"DeleteChat"), 100, 207)
        .then(kSettle)
        .tap_on(en(u"ReallyDeleteChat"), 100, 156)
        .settle_on("btnNew")
        .dump("list")
        // A number typed into the contacts form.
        .then("tap-id btnNew")
        .settle_on("ruler_button")
        .then("tap-id edit\ntype +7 900 555-00-11\ntap-id btnWrite")
        .settle_on("btnSend")
        .send("Hello from your new neighbour")
        .then("wait 1500")
        .dump("sent");
    ASSERT_TRUE(play(flow));

    EXPECT_EQ(bodies(screen(flow, "one_gone")), std::vector<std::string>{"Call me back"});
    EXPECT_TRUE(messages_with("Are you free tonight?").empty());
    EXPECT_EQ(messages_with("Call me back").size(), 1u);
    EXPECT_TRUE(messages_with("Tea at five").empty());
    EXPECT_EQ(chat_member(kAnna, "messages"), "1");
    EXPECT_EQ(chat_member("+44 20 7946 0958", "messages"), "<no chat>");
    JsonValue list = screen(flow, "list");
    EXPECT_TRUE(shows(list, kAnna));
    EXPECT_FALSE(shows(list, "+44 20 7946 0958"));

    JsonValue sent_screen = screen(flow, "sent");
    EXPECT_EQ(text_of(sent_screen, "edit"), "");
    EXPECT_EQ(bodies(sent_screen), std::vector<std::string>{"Hello from your new neighbour"});
    std::vector<JsonValue> sent = messages_with("Hello from your new neighbour");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(numbers_to(sent[0]), std::vector<std::string>{"+7 900 555-00-11"});
    EXPECT_EQ(chat_member("+7 900 555-00-11", "messages"), "1");
}

TEST_F(ProgramFlow, TwoTickedContactsGetOneMessageAndATemplateGoesIntoTheChatAndATypedOneIsKept) {
    prepare_chats();
    write_file(file("two.vcf"),
               "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Olga Smirnova\r\nTEL;TYPE=CELL:+79001112233\r\n"
               "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\nFN:Boris Ivanov\r\n"
               "TEL;TYPE=WORK:+79004445566\r\nEND:VCARD\r\n");
    tool({"contacts", "import", file("two.vcf").string()});
    std::string defaults = en(u"DefaultTemplates");
    std::string second = defaults.substr(defaults.find('/') + 1);
    second = second.substr(0, second.find('/'));

    FlowScript flow = script();
    flow.open_chat(kAnna, 60)
        .menu()
        .tap_on(en(u"AddRecipients"), 100, 71)
        .settle_on("ruler_button")
        .tap_on("Boris Ivanov", 100, 199)
        .then("wait 300")
        .tap_on("Olga Smirnova", 100, 247)
        .then("wait 300\ntap-id btnClose")
        .settle_on("btnSend")
        .dump("chat")
        .send("Dinner at eight, all of us")
        .then("wait 1500")
        // A template from the chat's menu, then one typed in from the list's.
        .menu()
        .tap_on(en(u"Templates"), 100, 173)
        .settle_on("btnAdd")
        .tap_on(second, 60, 148)
        .settle_on("btnSend")
        .dump("template")
        .then("tap-id btnClose")
        .settle_on("btnNew")
        .menu()
        .tap_on(en(u"Templates"), 100, 161)
        .settle_on("btnAdd")
        .then("tap-id edit\ntype See you at six\ntap-id btnAdd\nwait 300")
        .dump("templates");
    ASSERT_TRUE(play(flow));

    EXPECT_EQ(text_of(screen(flow, "chat"), "btnCopy"),
              en(u"Copy") + ": Boris Ivanov business; Olga Smirnova mobile");
    std::vector<JsonValue> sent = messages_with("Dinner at eight, all of us");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(numbers_to(sent[0]),
              (std::vector<std::string>{"+79001112233", kAnna, "+79004445566"}));
    for (const char* number : {kAnna, "+79001112233", "+79004445566"})
        EXPECT_EQ(chat_member(number, "last_body"), "Dinner at eight, all of us") << number;

    JsonValue chat_screen = screen(flow, "template");
    EXPECT_EQ(text_of(chat_screen, "edit"), second);
    EXPECT_EQ(text_of(chat_screen, "symbols"), counter(second));
    EXPECT_EQ(registry_text(u"Templates"), "See you at six");
    JsonValue templates = screen(flow, "templates");
    EXPECT_EQ(text_of(templates, "text"), "See you at six");
    EXPECT_EQ(text_of(templates, "edit"), "");
}

TEST_F(ProgramFlow, TheLanguageSwitchesAndBackAndASkinThatCannotShowTheProgramIsNotTaken) {
    auto ru = [](const char16_t* key) { return text_in("russian", key); };
    FlowScript flow = script();
    flow.menu()
        .tap_on(en(u"Language"), 100, 195)
        .then(kSettle)
        .tap_on("russian", 100, 190)
        .then("wait 1500")
        .dump("russian");
    ASSERT_TRUE(play(flow));
    JsonValue russian = screen(flow, "russian");
    EXPECT_EQ(text_of(russian, "btnNew"), ru(u"New"));
    EXPECT_TRUE(shows(russian, ru(u"Chats"))) << read_file(flow.path("russian"));
    EXPECT_EQ(registry_text(u"Language"), "russian");

    // The next start is Russian already; back to English from its menu, then
    // a skin the program cannot be shown with.
    FlowScript back = script();
    back.menu()
        .tap_on(ru(u"Language"), 100, 195)
        .then(kSettle)
        .tap_on("english", 100, 122)
        .then("wait 1500")
        .dump("english")
        .menu()
        .tap_on(en(u"Skin"), 100, 229)
        .then(kSettle)
        .tap_on("test", 100, 190)
        .then("wait 1500")
        .dump("after")
        .menu()
        .tap_on(en(u"Skin"), 100, 229)
        .then(kSettle)
        .dump("skins");
    ASSERT_TRUE(play(back));
    JsonValue english = screen(back, "english");
    EXPECT_EQ(text_of(english, "btnNew"), en(u"New"));
    EXPECT_TRUE(shows(english, en(u"Chats")));
    EXPECT_EQ(registry_text(u"Language"), "english");

    EXPECT_TRUE(shows(screen(back, "after"), en(u"Chats")));
    EXPECT_EQ(registry_text(u"Skin"), "default");
    // The check mark stays on the skin in use.
    JsonValue skins = screen(back, "skins");
    const JsonValue* checked = find_element(skins, [](const JsonValue& row) {
        const JsonValue* children = row.find("children");
        return children &&
               std::any_of(children->items.begin(), children->items.end(),
                           [](const JsonValue& c) { return c.find("id")->text == "checked"; });
    });
    ASSERT_TRUE(checked) << read_file(back.path("skins"));
    EXPECT_EQ(text_of(*checked, "#text"), "default");
}

TEST_F(ProgramFlow, MessagesArrivingInAChatOrOnTheListRaiseNoAlertWhileTheProgramIsInFront) {
    prepare_chats();
    FlowScript flow = script();
    flow.open_chat(kAnna, 60)
        .dump("open")
        .then("wait 4000")
        .dump("arrived")
        .then("tap-id btnClose")
        .settle_on("btnNew")
        .dump("listed")
        .then("wait 4000")
        .dump("arrived_on_list");
    auto run = begin(flow);
    ASSERT_TRUE(file_appears(flow.path("open"), 30s)) << run->err();
    deliver(kAnna, "Are you still there?");
    ASSERT_TRUE(file_appears(flow.path("listed"), 30s)) << run->err();
    deliver("+44 20 7946 0958", "Scones too");
    ASSERT_TRUE(finish(*run, flow));

    // In the chat: a new bubble, read while the chat is in front.
    EXPECT_EQ(bodies(screen(flow, "arrived")).back(), "Are you still there?");
    std::vector<JsonValue> arrived = messages_with("Are you still there?");
    ASSERT_EQ(arrived.size(), 1u);
    EXPECT_EQ(member(arrived[0], "flags"), "1");
    EXPECT_EQ(chat_member(kAnna, "unread"), "0");
    // On the list: the row shows it, unread.
    JsonValue list = screen(flow, "arrived_on_list");
    EXPECT_TRUE(shows(list, "Scones too"));
    EXPECT_EQ(text_of(list, "unread"), "(1)");
    EXPECT_EQ(chat_member("+44 20 7946 0958", "unread"), "1");
    for (const char* name : {"arrived", "arrived_on_list"})
        EXPECT_FALSE(contains(read_file(flow.path(name)), "btnView")) << name;
    EXPECT_FALSE(contains(log_text(), "form_alert message:"));
    EXPECT_TRUE(contains(log_text(), "show_alert: программа вверху и это не алерт"));
}

}  // namespace
