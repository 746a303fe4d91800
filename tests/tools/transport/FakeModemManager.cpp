// The fake ModemManager.
//
//   the bus side ........ the vtables of the modem and its SMS objects
//   the modem ........... coming, going, messages added and deleted, Send
//   commands ............ what the tests script
#include "FakeModemManager.h"

#include <ModemManager.h>
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>

#include <cstring>
#include <sstream>

#include "FakeModemHex.h"

namespace {

const char* const kModemPath = MM_DBUS_MODEM_PREFIX "/0";
using fake_modem_hex::from_hex;
using fake_modem_hex::to_hex;

const char* const kRefused = MM_CORE_ERROR_DBUS_PREFIX ".Failed";

// --- the bus side --------------------------------------------------------------------

using Fake = FakeModemManager;

int modem_state(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void*,
                sd_bus_error*) {
    return sd_bus_message_append(reply, "i", static_cast<int32_t>(MM_MODEM_STATE_REGISTERED));
}

int messages(sd_bus*, const char*, const char*, const char*, sd_bus_message* reply, void* fake,
             sd_bus_error*) {
    int r = sd_bus_message_open_container(reply, 'a', "o");
    for (const std::string& p : static_cast<Fake*>(fake)->paths())
        if (r >= 0) r = sd_bus_message_append(reply, "o", p.c_str());
    return r < 0 ? r : sd_bus_message_close_container(reply);
}

int list(sd_bus_message* call, void* fake, sd_bus_error*) {
    sd_bus_message* reply = nullptr;
    int r = sd_bus_message_new_method_return(call, &reply);
    if (r >= 0) r = messages(nullptr, nullptr, nullptr, nullptr, reply, fake, nullptr);
    if (r >= 0) r = sd_bus_send(nullptr, reply, nullptr);
    sd_bus_message_unref(reply);
    return r;
}

int remove(sd_bus_message* call, void* fake, sd_bus_error* error) {
    const char* path = nullptr;
    int r = sd_bus_message_read(call, "o", &path);
    if (r < 0) return r;
    if (!static_cast<Fake*>(fake)->delete_sms(path))
        return sd_bus_error_set(error, MM_CORE_ERROR_DBUS_PREFIX ".NotFound", "no such message");
    return sd_bus_reply_method_return(call, "");
}

int create(sd_bus_message* call, void* fake, sd_bus_error*) {
    Fake::Sms sms;
    sms.state = MM_SMS_STATE_STORED;
    sms.pdu_type = MM_SMS_PDU_TYPE_SUBMIT;
    int r = sd_bus_message_enter_container(call, 'a', "{sv}");
    while (r > 0 && (r = sd_bus_message_enter_container(call, 'e', "sv")) > 0) {
        const char* key = nullptr;
        const char* text = nullptr;
        r = sd_bus_message_read(call, "s", &key);
        std::string name = key ? key : "";
        if (r >= 0 && (name == "number" || name == "text")) {
            r = sd_bus_message_read(call, "v", "s", &text);
            (name == "number" ? sms.number : sms.text) = text ? text : "";
        } else if (r >= 0 && name == "delivery-report-request") {
            int flag = 0;
            r = sd_bus_message_read(call, "v", "b", &flag);
            sms.delivery_report = flag != 0;
        } else if (r >= 0) {
            r = sd_bus_message_skip(call, "v");
        }
        if (r >= 0) r = sd_bus_message_exit_container(call);
    }
    if (r < 0) return r;
    Fake* f = static_cast<Fake*>(fake);
    ++f->created;
    Fake::Sms* made = f->add_sms(std::move(sms), false);
    return sd_bus_reply_method_return(call, "o", made->path.c_str());
}

int send(sd_bus_message* call, void* sms, sd_bus_error*) {
    Fake::Sms* s = static_cast<Fake::Sms*>(sms);
    s->owner->send(*s, call);
    return 1;
}

int sms_property(sd_bus*, const char*, const char*, const char* property, sd_bus_message* reply,
                 void* sms, sd_bus_error*) {
    const Fake::Sms& s = *static_cast<Fake::Sms*>(sms);
    std::string name = property;
    if (name == "State") return sd_bus_message_append(reply, "u", s.state);
    if (name == "PduType") return sd_bus_message_append(reply, "u", s.pdu_type);
    if (name == "DeliveryState") return sd_bus_message_append(reply, "u", s.delivery_state);
    if (name == "Class") return sd_bus_message_append(reply, "i", s.sms_class);
    if (name == "DeliveryReportRequest")
        return sd_bus_message_append(reply, "b", s.delivery_report ? 1 : 0);
    if (name == "Data") {
        std::string zeros(s.data_size, '\0');
        return sd_bus_message_append_array(reply, 'y', zeros.data(), zeros.size());
    }
    const std::string& text = name == "Number"      ? s.number
                              : name == "Text"      ? s.text
                              : name == "Timestamp" ? s.timestamp
                                                    : s.smsc;
    return sd_bus_message_append(reply, "s", text.c_str());
}

const sd_bus_vtable kModemVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_PROPERTY("State", "i", modem_state, 0, 0),
    SD_BUS_VTABLE_END,
};

const sd_bus_vtable kMessagingVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("List", "", "ao", list, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Delete", "o", "", remove, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_METHOD("Create", "a{sv}", "o", create, SD_BUS_VTABLE_UNPRIVILEGED),
    SD_BUS_PROPERTY("Messages", "ao", messages, 0, 0),
    SD_BUS_SIGNAL("Added", "ob", 0),
    SD_BUS_SIGNAL("Deleted", "o", 0),
    SD_BUS_VTABLE_END,
};

#define SMS_PROPERTY(name, type) \
    SD_BUS_PROPERTY(name, type, sms_property, 0, SD_BUS_VTABLE_PROPERTY_EMITS_CHANGE)

const sd_bus_vtable kSmsVtable[] = {
    SD_BUS_VTABLE_START(0),
    SD_BUS_METHOD("Send", "", "", send, SD_BUS_VTABLE_UNPRIVILEGED),
    SMS_PROPERTY("State", "u"),
    SMS_PROPERTY("PduType", "u"),
    SMS_PROPERTY("Number", "s"),
    SMS_PROPERTY("Text", "s"),
    SMS_PROPERTY("Data", "ay"),
    SMS_PROPERTY("SMSC", "s"),
    SMS_PROPERTY("Timestamp", "s"),
    SMS_PROPERTY("Class", "i"),
    SMS_PROPERTY("DeliveryState", "u"),
    SMS_PROPERTY("DeliveryReportRequest", "b"),
    SD_BUS_VTABLE_END,
};

// A Send answered later: the SMS leaves when the time is up, whether or not
// its caller is still there, as on a real network.
struct LateSend {
    Fake* fake;
    std::string path;
    sd_bus_message* call;
};

int finish_send(sd_event_source* source, uint64_t, void* data) {
    LateSend* late = static_cast<LateSend*>(data);
    late->fake->send_done(late->path);
    sd_bus_reply_method_return(late->call, "");
    sd_bus_message_unref(late->call);
    sd_event_source_disable_unref(source);
    delete late;
    return 0;
}

}  // namespace

// --- the modem ---------------------------------------------------------------------

FakeModemManager::~FakeModemManager() {
    for (auto& [path, sms] : sms_) sd_bus_slot_unref(sms->slot);
    sd_bus_slot_unref(modem_slot_);
    sd_bus_slot_unref(messaging_slot_);
    sd_bus_slot_unref(manager_slot_);
}

bool FakeModemManager::start() {
    return sd_bus_add_object_manager(bus_, &manager_slot_, MM_DBUS_PATH) >= 0 &&
           sd_bus_request_name(bus_, MM_DBUS_SERVICE, 0) >= 0;
}

bool FakeModemManager::add_modem() {
    if (modem_) return true;
    if (sd_bus_add_object_vtable(bus_, &modem_slot_, kModemPath, MM_DBUS_INTERFACE_MODEM,
                                 kModemVtable, this) < 0 ||
        sd_bus_add_object_vtable(bus_, &messaging_slot_, kModemPath,
                                 MM_DBUS_INTERFACE_MODEM_MESSAGING, kMessagingVtable, this) < 0)
        return false;
    modem_ = true;
    return sd_bus_emit_object_added(bus_, kModemPath) >= 0;
}

void FakeModemManager::remove_modem() {
    if (!modem_) return;
    sd_bus_emit_object_removed(bus_, kModemPath);
    modem_slot_ = sd_bus_slot_unref(modem_slot_);
    messaging_slot_ = sd_bus_slot_unref(messaging_slot_);
    // The modem's messages go with it.
    for (auto& [path, sms] : sms_) sd_bus_slot_unref(sms->slot);
    sms_.clear();
    modem_ = false;
}

FakeModemManager::Sms* FakeModemManager::add_sms(Sms sms, bool received) {
    auto owned = std::make_unique<Sms>(std::move(sms));
    owned->path = MM_DBUS_SMS_PREFIX "/" + std::to_string(next_sms_++);
    owned->owner = this;
    Sms* s = owned.get();
    sms_[s->path] = std::move(owned);
    sd_bus_add_object_vtable(bus_, &s->slot, s->path.c_str(), MM_DBUS_INTERFACE_SMS, kSmsVtable, s);
    sd_bus_emit_signal(bus_, kModemPath, MM_DBUS_INTERFACE_MODEM_MESSAGING, "Added", "ob",
                       s->path.c_str(), received ? 1 : 0);
    return s;
}

bool FakeModemManager::delete_sms(const std::string& path) {
    auto it = sms_.find(path);
    if (it == sms_.end()) return false;
    sd_bus_slot_unref(it->second->slot);
    sms_.erase(it);
    sd_bus_emit_signal(bus_, kModemPath, MM_DBUS_INTERFACE_MODEM_MESSAGING, "Deleted", "o",
                       path.c_str());
    return true;
}

FakeModemManager::Sms* FakeModemManager::find(const std::string& path) {
    auto it = sms_.find(path);
    return it == sms_.end() ? nullptr : it->second.get();
}

std::vector<std::string> FakeModemManager::paths() const {
    std::vector<std::string> out;
    for (const auto& [path, sms] : sms_) out.push_back(path);
    return out;
}

void FakeModemManager::emit_changed(Sms& sms) {
    sd_bus_emit_properties_changed(bus_, sms.path.c_str(), MM_DBUS_INTERFACE_SMS, "State", "Text",
                                   nullptr);
}

void FakeModemManager::send(Sms& sms, sd_bus_message* call) {
    if (remove_modem_at_send_ > 0 && --remove_modem_at_send_ == 0) {
        remove_modem();
        sd_bus_reply_method_errorf(call, kRefused, "the modem is gone");
        return;
    }
    if (fail_sends_ > 0) {
        --fail_sends_;
        sd_bus_reply_method_errorf(call, kRefused, "the network refused the message");
        return;
    }
    if (lose_replies_ > 0) {
        // Sent, but the answer is lost: to the caller it is a call that
        // timed out.
        --lose_replies_;
        send_done(sms.path);
        sd_bus_reply_method_errorf(call, SD_BUS_ERROR_NO_REPLY, "no answer in time");
        return;
    }
    sms.state = MM_SMS_STATE_SENDING;
    emit_changed(sms);
    if (send_delay_ms_ == 0) {
        send_done(sms.path);
        sd_bus_reply_method_return(call, "");
        return;
    }
    LateSend* late = new LateSend{this, sms.path, sd_bus_message_ref(call)};
    uint64_t now = 0;
    sd_event_now(event_, CLOCK_MONOTONIC, &now);
    sd_event_add_time(event_, nullptr, CLOCK_MONOTONIC, now + send_delay_ms_ * 1000, 0, finish_send,
                      late);
}

void FakeModemManager::send_done(const std::string& path) {
    Sms* sms = find(path);
    if (!sms) return;
    sms->state = MM_SMS_STATE_SENT;
    sent_.push_back({sms->number, sms->text, sms->delivery_report});
    emit_changed(*sms);
}

// --- commands ------------------------------------------------------------------------

std::string FakeModemManager::command(const std::string& line) {
    std::istringstream in(line);
    std::string word;
    in >> word;
    if (word == "modem") return add_modem() ? "ok" : "error";
    if (word == "remove-modem") {
        remove_modem();
        return "ok";
    }
    if (word == "sms") {
        if (!modem_) return "error no modem";
        Sms sms;
        std::string number, text, timestamp;
        in >> sms.state >> sms.pdu_type >> number >> text >> timestamp >> sms.sms_class >>
            sms.delivery_state >> sms.data_size;
        if (!in) return "error usage: sms STATE PDU NUMBER TEXT TIMESTAMP CLASS DELIVERY DATA";
        sms.number = from_hex(number);
        sms.text = from_hex(text);
        sms.timestamp = from_hex(timestamp);
        return "ok " + add_sms(std::move(sms), true)->path;
    }
    if (word == "ghost") {
        std::string path = MM_DBUS_SMS_PREFIX "/" + std::to_string(next_sms_++);
        sd_bus_emit_signal(bus_, kModemPath, MM_DBUS_INTERFACE_MODEM_MESSAGING, "Added", "ob",
                           path.c_str(), 1);
        return "ok";
    }
    if (word == "state") {
        std::string path, text;
        uint32_t state = 0;
        in >> path >> state >> text;
        Sms* sms = find(path);
        if (!in || !sms) return "error usage: state PATH STATE TEXT";
        sms->state = state;
        sms->text = from_hex(text);
        emit_changed(*sms);
        return "ok";
    }
    if (word == "fail-sends") return (in >> fail_sends_) ? "ok" : "error";
    if (word == "send-delay") return (in >> send_delay_ms_) ? "ok" : "error";
    if (word == "lose-replies") return (in >> lose_replies_) ? "ok" : "error";
    if (word == "remove-modem-at-send") return (in >> remove_modem_at_send_) ? "ok" : "error";
    if (word == "report") {
        std::string out = "ok " + std::to_string(created) + " " + std::to_string(sms_.size());
        for (const Sent& s : sent_)
            out += " " + to_hex(s.number) + "/" + to_hex(s.text) + "/" +
                   (s.delivery_report ? "1" : "0");
        return out;
    }
    return "error unknown command";
}
