// ModemManager over sd-bus.
//
//   the connection ...... connecting, following changes, the poll
//   calls ............... one helper that sends a call and sorts its failure
//   the interface ....... modems, messages, create, send, delete
#include "tools/transport/SdBusModemLink.h"

#include <ModemManager.h>
#include <poll.h>
#include <systemd/sd-bus.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/Utf16.h"

namespace {

constexpr uint64_t kUsecPerSec = 1000000;
// Most calls answer at once; sending waits for the network.
constexpr uint64_t kCallTimeout = 10 * kUsecPerSec;
constexpr uint64_t kSendTimeout = 60 * kUsecPerSec;

const char* const kObjectManager = "org.freedesktop.DBus.ObjectManager";
const char* const kProperties = "org.freedesktop.DBus.Properties";

struct Message {
    sd_bus_message* m = nullptr;
    ~Message() { sd_bus_message_unref(m); }
};

struct Error {
    sd_bus_error e = SD_BUS_ERROR_NULL;
    ~Error() { sd_bus_error_free(&e); }
};

bool is_gone(const sd_bus_error& e) {
    for (const char* name :
         {SD_BUS_ERROR_SERVICE_UNKNOWN, SD_BUS_ERROR_NAME_HAS_NO_OWNER, SD_BUS_ERROR_UNKNOWN_OBJECT,
          SD_BUS_ERROR_UNKNOWN_METHOD, SD_BUS_ERROR_UNKNOWN_INTERFACE})
        if (sd_bus_error_has_name(&e, name)) return true;
    return false;
}

}  // namespace

// --- the connection -----------------------------------------------------------------

std::unique_ptr<SdBusModemLink> SdBusModemLink::connect(std::string* error) {
    sd_bus* bus = nullptr;
    int r = sd_bus_open_system(&bus);
    if (r < 0) {
        if (error) *error = std::string("no system bus: ") + std::strerror(-r);
        return nullptr;
    }
    return std::unique_ptr<SdBusModemLink>(new SdBusModemLink(bus));
}

SdBusModemLink::~SdBusModemLink() {
    for (sd_bus_slot* slot : slots_) sd_bus_slot_unref(slot);
    sd_bus_flush_close_unref(bus_);
}

namespace {

// Any change makes one pass; userdata is the flag of its kind.
int on_change(sd_bus_message*, void* changed, sd_bus_error*) {
    *static_cast<bool*>(changed) = true;
    return 0;
}

}  // namespace

bool SdBusModemLink::follow_changes() {
    int r = sd_bus_match_signal(bus_, &slots_[0], MM_DBUS_SERVICE, nullptr,
                                MM_DBUS_INTERFACE_MODEM_MESSAGING, "Added", on_change,
                                &changes_.messages);
    if (r >= 0)
        r = sd_bus_match_signal(bus_, &slots_[1], MM_DBUS_SERVICE, MM_DBUS_PATH, kObjectManager,
                                "InterfacesAdded", on_change, &changes_.modems);
    if (r >= 0)
        r = sd_bus_match_signal(bus_, &slots_[2], MM_DBUS_SERVICE, MM_DBUS_PATH, kObjectManager,
                                "InterfacesRemoved", on_change, &changes_.modems);
    if (r >= 0)
        r = sd_bus_add_match(bus_, &slots_[3],
                             "type='signal',sender='org.freedesktop.DBus',"
                             "member='NameOwnerChanged',arg0='" MM_DBUS_SERVICE "'",
                             on_change, &changes_.modems);
    // A message in parts is complete when its State turns to received.
    if (r >= 0)
        r = sd_bus_add_match(bus_, &slots_[4],
                             "type='signal',sender='" MM_DBUS_SERVICE
                             "',"
                             "interface='org.freedesktop.DBus.Properties',"
                             "member='PropertiesChanged',arg0='" MM_DBUS_INTERFACE_SMS "'",
                             on_change, &changes_.messages);
    if (r < 0) failed(Failure::Refused, std::string("cannot follow ModemManager: ") + strerror(-r));
    return r >= 0;
}

int SdBusModemLink::fd() const { return sd_bus_get_fd(bus_); }

short SdBusModemLink::poll_events() const {
    int events = sd_bus_get_events(bus_);
    return events < 0 ? POLLIN : static_cast<short>(events);
}

int SdBusModemLink::timeout_ms() const {
    uint64_t until = 0;
    if (sd_bus_get_timeout(bus_, &until) < 0 || until == UINT64_MAX) return -1;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    uint64_t now_usec = static_cast<uint64_t>(now.tv_sec) * kUsecPerSec + now.tv_nsec / 1000;
    if (until <= now_usec) return 0;
    return static_cast<int>(std::min<uint64_t>((until - now_usec + 999) / 1000, 60000));
}

bool SdBusModemLink::process() {
    for (;;) {
        int r = sd_bus_process(bus_, nullptr);
        if (r < 0) return false;
        if (r == 0) return true;
    }
}

SdBusModemLink::Changes SdBusModemLink::take_changes() {
    Changes was = changes_;
    changes_ = {};
    return was;
}

// --- calls ----------------------------------------------------------------------------

bool SdBusModemLink::call(const char* path, const char* interface, const char* member,
                          uint64_t timeout, const std::function<int(sd_bus_message*)>& build,
                          sd_bus_message** reply) {
    Message m;
    int r = sd_bus_message_new_method_call(bus_, &m.m, MM_DBUS_SERVICE, path, interface, member);
    if (r >= 0 && build) r = build(m.m);
    if (r < 0) {
        failed(Failure::Refused, std::string(member) + ": " + std::strerror(-r));
        return false;
    }
    Error error;
    r = sd_bus_call(bus_, m.m, timeout, &error.e, reply);
    if (r >= 0) {
        succeeded();
        return true;
    }
    Failure kind = Failure::Refused;
    if (r == -ETIMEDOUT || sd_bus_error_has_name(&error.e, SD_BUS_ERROR_NO_REPLY))
        kind = Failure::NoReply;
    else if (is_gone(error.e))
        kind = Failure::Gone;
    std::string why = std::string(member) + ": ";
    why += error.e.message ? error.e.message : std::strerror(-r);
    failed(kind, why);
    return false;
}

bool SdBusModemLink::manager_answers() {
    Message reply;
    bool ok = call(MM_DBUS_PATH, "org.freedesktop.DBus.Peer", "Ping", kCallTimeout, {}, &reply.m);
    return ok;
}

// --- the interface -------------------------------------------------------------------

std::optional<std::string> SdBusModemLink::messaging_modem() {
    Message reply;
    if (!call(MM_DBUS_PATH, kObjectManager, "GetManagedObjects", kCallTimeout, {}, &reply.m))
        return std::nullopt;
    std::vector<std::string> modems;
    sd_bus_message* m = reply.m;
    int r = sd_bus_message_enter_container(m, 'a', "{oa{sa{sv}}}");
    while (r > 0 && (r = sd_bus_message_enter_container(m, 'e', "oa{sa{sv}}")) > 0) {
        const char* path = nullptr;
        r = sd_bus_message_read(m, "o", &path);
        std::string object = path ? path : "";
        if (r >= 0) r = sd_bus_message_enter_container(m, 'a', "{sa{sv}}");
        while (r > 0 && (r = sd_bus_message_enter_container(m, 'e', "sa{sv}")) > 0) {
            const char* interface = nullptr;
            r = sd_bus_message_read(m, "s", &interface);
            if (r >= 0 && interface &&
                std::strcmp(interface, MM_DBUS_INTERFACE_MODEM_MESSAGING) == 0)
                modems.push_back(object);
            if (r >= 0) r = sd_bus_message_skip(m, "a{sv}");
            if (r >= 0) r = sd_bus_message_exit_container(m);
        }
        if (r >= 0) r = sd_bus_message_exit_container(m);
        if (r >= 0) r = sd_bus_message_exit_container(m);
    }
    if (r < 0) {
        failed(Failure::Refused, "GetManagedObjects: a reply that cannot be read");
        return std::nullopt;
    }
    succeeded();
    // Modems are numbered as ModemManager found them; the lowest is the first.
    std::sort(modems.begin(), modems.end());
    return modems.empty() ? std::string() : modems.front();
}

std::optional<std::vector<std::string>> SdBusModemLink::list(const std::string& modem) {
    Message reply;
    if (!call(modem.c_str(), MM_DBUS_INTERFACE_MODEM_MESSAGING, "List", kCallTimeout, {}, &reply.m))
        return std::nullopt;
    std::vector<std::string> out;
    int r = sd_bus_message_enter_container(reply.m, 'a', "o");
    const char* path = nullptr;
    while (r > 0 && (r = sd_bus_message_read(reply.m, "o", &path)) > 0) out.emplace_back(path);
    if (r < 0) {
        failed(Failure::Refused, "List: a reply that cannot be read");
        return std::nullopt;
    }
    succeeded();
    return out;
}

namespace {

// One property value of GetAll: the variant is entered here, and the values
// the transport knows are read; every other is skipped.
int read_property(sd_bus_message* m, const char* name, ModemSms& sms) {
    char type = 0;
    const char* contents = nullptr;
    int r = sd_bus_message_peek_type(m, &type, &contents);
    if (r < 0) return r;
    std::string sig = contents ? contents : "";
    auto text = [&](std::string& out) {
        const char* s = nullptr;
        int q = sd_bus_message_read(m, "v", "s", &s);
        if (q >= 0 && s) out = s;
        return q;
    };
    auto number = [&](uint32_t& out) { return sd_bus_message_read(m, "v", "u", &out); };
    std::string key = name;
    if (key == "State" && sig == "u") return number(sms.state);
    if (key == "PduType" && sig == "u") return number(sms.pdu_type);
    if (key == "DeliveryState" && sig == "u") return number(sms.delivery_state);
    if (key == "Number" && sig == "s") return text(sms.number);
    if (key == "Text" && sig == "s") return text(sms.text);
    if (key == "Timestamp" && sig == "s") return text(sms.timestamp);
    if (key == "SMSC" && sig == "s") return text(sms.smsc);
    if (key == "Class" && sig == "i") return sd_bus_message_read(m, "v", "i", &sms.sms_class);
    if (key == "Data" && sig == "ay") {
        if ((r = sd_bus_message_enter_container(m, 'v', "ay")) < 0) return r;
        const void* bytes = nullptr;
        size_t size = 0;
        if ((r = sd_bus_message_read_array(m, 'y', &bytes, &size)) < 0) return r;
        sms.data_size = size;
        return sd_bus_message_exit_container(m);
    }
    return sd_bus_message_skip(m, "v");
}

}  // namespace

std::optional<ModemSms> SdBusModemLink::read(const std::string& path) {
    Message reply;
    auto interface = [](sd_bus_message* m) {
        return sd_bus_message_append(m, "s", MM_DBUS_INTERFACE_SMS);
    };
    if (!call(path.c_str(), kProperties, "GetAll", kCallTimeout, interface, &reply.m))
        return std::nullopt;
    ModemSms sms;
    sms.path = path;
    sd_bus_message* m = reply.m;
    int r = sd_bus_message_enter_container(m, 'a', "{sv}");
    while (r > 0 && (r = sd_bus_message_enter_container(m, 'e', "sv")) > 0) {
        const char* name = nullptr;
        r = sd_bus_message_read(m, "s", &name);
        if (r >= 0) r = read_property(m, name ? name : "", sms);
        if (r >= 0) r = sd_bus_message_exit_container(m);
    }
    if (r < 0) {
        failed(Failure::Refused, "GetAll: a reply that cannot be read");
        return std::nullopt;
    }
    succeeded();
    return sms;
}

bool SdBusModemLink::remove(const std::string& modem, const std::string& sms) {
    Message reply;
    auto path = [&](sd_bus_message* m) { return sd_bus_message_append(m, "o", sms.c_str()); };
    if (!call(modem.c_str(), MM_DBUS_INTERFACE_MODEM_MESSAGING, "Delete", kCallTimeout, path,
              &reply.m))
        return false;
    succeeded();
    return true;
}

std::optional<std::string> SdBusModemLink::create(const std::string& modem,
                                                  const OutgoingSms& sms) {
    std::string number = utf16::to_utf8(sms.number);
    std::string text = utf16::to_utf8(sms.text);
    auto properties = [&](sd_bus_message* m) {
        // The whole text is one message: ModemManager splits it into parts.
        return sd_bus_message_append(m, "a{sv}", 3, "number", "s", number.c_str(), "text", "s",
                                     text.c_str(), "delivery-report-request", "b",
                                     sms.delivery_report ? 1 : 0);
    };
    Message reply;
    if (!call(modem.c_str(), MM_DBUS_INTERFACE_MODEM_MESSAGING, "Create", kCallTimeout, properties,
              &reply.m))
        return std::nullopt;
    const char* path = nullptr;
    if (sd_bus_message_read(reply.m, "o", &path) < 0 || !path) {
        failed(Failure::Refused, "Create: a reply that cannot be read");
        return std::nullopt;
    }
    succeeded();
    return std::string(path);
}

bool SdBusModemLink::send(const std::string& sms) {
    Message reply;
    if (!call(sms.c_str(), MM_DBUS_INTERFACE_SMS, "Send", kSendTimeout, {}, &reply.m)) return false;
    succeeded();
    return true;
}
