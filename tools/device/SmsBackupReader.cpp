#include "tools/device/SmsBackupReader.h"

#include <expat.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <memory>

#include "platform/LocalTime.h"
#include "platform/Utf16.h"
#include "platform/store/MessageFlags.h"
#include "tools/device/SurrogateReferences.h"

namespace {

// Dates beyond 9999-12-31 do not fit the store's times.
constexpr int64_t kLastDateMs = 253402300799999LL;

struct ParserDeleter {
    void operator()(XML_ParserStruct* p) const { XML_ParserFree(p); }
};

class Reader {
public:
    explicit Reader(XML_Parser parser) : parser_(parser) {}

    static void XMLCALL on_start(void* self, const XML_Char* name, const XML_Char** attributes) {
        static_cast<Reader*>(self)->start(name, attributes);
    }
    static void XMLCALL on_end(void* self, const XML_Char*) {
        --static_cast<Reader*>(self)->depth_;
    }
    // Entity declarations serve no backup file and are the means of the
    // "billion laughs" attack: a file that declares any is refused.
    static void XMLCALL on_entity(void* self, const XML_Char*, int, const XML_Char*, int,
                                  const XML_Char*, const XML_Char*, const XML_Char*,
                                  const XML_Char*) {
        static_cast<Reader*>(self)->stop("entity declarations are not allowed in a backup file");
    }

    void stop(const std::string& message) {
        if (error_.empty())
            error_ = "line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ": " + message;
        XML_StopParser(parser_, XML_FALSE);
    }

    bool saw_root() const { return saw_root_; }
    const std::string& error() const { return error_; }
    SmsBackup& backup() { return backup_; }

private:
    void start(const XML_Char* name, const XML_Char** attributes) {
        ++depth_;
        if (depth_ == 1) {
            if (std::strcmp(name, "smses") != 0)
                return stop(std::string("the root element is <") + name + ">, not <smses>");
            saw_root_ = true;
            return;
        }
        if (depth_ != 2) return;  // the parts and addresses inside an <mms>
        if (std::strcmp(name, "sms") != 0) {
            ++backup_.skipped;
            return;
        }
        read_sms(attributes);
    }

    static const char* attribute(const XML_Char** attributes, const char* name) {
        for (const XML_Char** a = attributes; *a != nullptr; a += 2)
            if (std::strcmp(a[0], name) == 0) return a[1];
        return nullptr;
    }

    template <typename T>
    bool number(const char* text, T& value) {
        const char* end = text + std::strlen(text);
        auto [p, ec] = std::from_chars(text, end, value);
        return ec == std::errc() && p == end && p != text;
    }

    void read_sms(const XML_Char** attributes) {
        const char* address = attribute(attributes, "address");
        const char* date = attribute(attributes, "date");
        const char* type = attribute(attributes, "type");
        const char* body = attribute(attributes, "body");
        for (auto [value, name] :
             {std::pair{address, "address"}, {date, "date"}, {type, "type"}, {body, "body"}})
            if (value == nullptr)
                return stop(std::string("<sms> without a '") + name + "' attribute");
        int64_t ms = 0;
        if (!number(date, ms) || ms < 0 || ms > kLastDateMs)
            return stop(std::string("<sms> with date '") + date + "', not milliseconds since 1970");
        int kind = 0;
        if (!number(type, kind))
            return stop(std::string("<sms> with type '") + type + "', not a number");

        StoredMessage m;
        m.failed = kind == 5;
        switch (kind) {
            case 1:
                m.folder = StoreFolderKind::Inbox;
                break;
            case 2:
                m.folder = StoreFolderKind::SentItems;
                break;
            case 3:
                m.folder = StoreFolderKind::Drafts;
                break;
            // Waiting, failed and queued messages all wait in the Outbox. They are
            // not submitted: bringing back a history must not send anything.
            case 4:
            case 5:
            case 6:
                m.folder = StoreFolderKind::Outbox;
                break;
            default:
                ++backup_.skipped;  // 0 ("all") and unknown kinds are no message of a folder
                return;
        }
        const char* read = attribute(attributes, "read");
        m.flags = read != nullptr && std::strcmp(read, "1") == 0 ? kMsgFlagRead : 0;
        std::u16string name;
        const char* contact = attribute(attributes, "contact_name");
        if (contact != nullptr && std::strcmp(contact, "(Unknown)") != 0 &&
            std::strcmp(contact, "null") != 0)
            name = utf16::from_utf8(contact);
        if (m.folder == StoreFolderKind::Inbox) {
            m.sender_number = utf16::from_utf8(address);
            m.sender_name = std::move(name);
            const char* centre = attribute(attributes, "service_center");
            if (centre != nullptr && std::strcmp(centre, "null") != 0)
                m.smsc = utf16::from_utf8(centre);
        } else {
            m.flags |= kMsgFlagFromMe;
            if (m.folder == StoreFolderKind::Outbox) m.flags |= kMsgFlagUnsent;
            m.recipients.push_back({std::move(name), utf16::from_utf8(address)});
        }
        m.body = utf16::from_utf8(body);
        m.delivery_time = m.modification_time = local_time::from_unix_ms(ms);
        backup_.messages.push_back(std::move(m));
    }

    XML_Parser parser_;
    int depth_ = 0;
    bool saw_root_ = false;
    std::string error_;
    SmsBackup backup_;
};

}  // namespace

std::optional<SmsBackup> SmsBackupReader::parse(std::string_view xml, std::string* error) {
    std::string text = join_surrogate_references(xml);
    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate(nullptr));
    if (!parser) {
        *error = "out of memory";
        return std::nullopt;
    }
    Reader reader(parser.get());
    XML_SetUserData(parser.get(), &reader);
    XML_SetElementHandler(parser.get(), Reader::on_start, Reader::on_end);
    XML_SetEntityDeclHandler(parser.get(), Reader::on_entity);

    // XML_Parse takes an int length: big files go in pieces.
    constexpr size_t kChunk = 16 << 20;
    size_t at = 0;
    do {
        size_t n = std::min(kChunk, text.size() - at);
        bool last = at + n == text.size();
        if (XML_Parse(parser.get(), text.data() + at, static_cast<int>(n), last) != XML_STATUS_OK) {
            *error = !reader.error().empty()
                         ? reader.error()
                         : "line " + std::to_string(XML_GetCurrentLineNumber(parser.get())) +
                               ": not well-formed XML (" +
                               XML_ErrorString(XML_GetErrorCode(parser.get())) + ")";
            return std::nullopt;
        }
        at += n;
    } while (at < text.size());
    if (!reader.saw_root()) {
        *error = "line 1: not an SMS backup (no <smses> element)";
        return std::nullopt;
    }
    return std::move(reader.backup());
}
