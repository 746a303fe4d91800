#pragma once
// ModemManager on the system bus ($DBUS_SYSTEM_BUS_ADDRESS when set), through
// sd-bus. Besides the calls of ModemLink it follows what changes: a message
// added on a modem (Messaging.Added), modems coming and going (the object
// manager's InterfacesAdded/InterfacesRemoved), a message's properties
// changing (one in parts completed) and ModemManager itself starting or
// stopping. The daemon waits on fd() and calls process().
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "tools/transport/ModemLink.h"

struct sd_bus;
struct sd_bus_slot;

class SdBusModemLink : public ModemLink {
public:
    // A connection to the system bus; null with *error set (one line) when
    // there is none.
    static std::unique_ptr<SdBusModemLink> connect(std::string* error);
    ~SdBusModemLink() override;
    SdBusModemLink(const SdBusModemLink&) = delete;
    SdBusModemLink& operator=(const SdBusModemLink&) = delete;

    // Whether ModemManager answers on the bus (starting it when the bus
    // starts services on demand).
    bool manager_answers();
    // Subscribes to the changes above. False when the bus refused.
    bool follow_changes();
    // The connection's descriptor, the poll events it waits for and the
    // milliseconds until it needs process() anyway (-1: no limit).
    int fd() const;
    short poll_events() const;
    int timeout_ms() const;
    // Handles what has arrived. False when the connection is lost.
    bool process();
    struct Changes {
        bool messages = false;  // a message added or changed
        bool modems = false;    // a modem or ModemManager itself came or went
    };
    // What changed since the last call; clears it.
    Changes take_changes();

    std::optional<std::string> messaging_modem() override;
    std::optional<std::vector<std::string>> list(const std::string& modem) override;
    std::optional<ModemSms> read(const std::string& sms) override;
    bool remove(const std::string& modem, const std::string& sms) override;
    std::optional<std::string> create(const std::string& modem, const OutgoingSms& sms) override;
    bool send(const std::string& sms) override;

private:
    explicit SdBusModemLink(sd_bus* bus) : bus_(bus) {}
    // Sends a call whose arguments build() appends and keeps its reply;
    // false with the failure sorted (gone, no reply, refused) and described.
    bool call(const char* path, const char* interface, const char* member, uint64_t timeout,
              const std::function<int(struct sd_bus_message*)>& build,
              struct sd_bus_message** reply);

    sd_bus* bus_;
    sd_bus_slot* slots_[5] = {};
    Changes changes_;
};
