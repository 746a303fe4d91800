#pragma once
// A ModemManager of our own for the tests and benchmarks: on the bus it
// serves the object manager, one modem (Modem and Modem.Messaging) and its
// SMS objects, as ModemManager names them; on stdin it takes commands, one a
// line, and answers each with one line on stdout (see fake_modem_main.cpp).
// Texts in commands and answers are hexadecimal UTF-8, so that any bytes
// travel.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

struct sd_bus;
struct sd_bus_slot;
struct sd_bus_message;
struct sd_event;

class FakeModemManager {
public:
    struct Sms {
        std::string path;
        uint32_t state = 0;
        uint32_t pdu_type = 0;
        std::string number, text, timestamp, smsc = "+491770610000";
        int32_t sms_class = -1;
        uint32_t delivery_state = 0x100;
        size_t data_size = 0;
        bool delivery_report = false;
        sd_bus_slot* slot = nullptr;
        FakeModemManager* owner = nullptr;
    };
    struct Sent {
        std::string number, text;
        bool delivery_report;
    };

    FakeModemManager(sd_bus* bus, sd_event* event) : bus_(bus), event_(event) {}
    ~FakeModemManager();

    // Takes the name and serves the object manager. False when it cannot.
    bool start();
    // One command line; returns the answer line (without its line end).
    std::string command(const std::string& line);

    // --- what the bus handlers reach ---
    bool add_modem();
    void remove_modem();
    Sms* add_sms(Sms sms, bool received);
    bool delete_sms(const std::string& path);
    Sms* find(const std::string& path);
    // Send of an SMS object; the reply is sent here, perhaps later.
    void send(Sms& sms, sd_bus_message* call);
    void send_done(const std::string& path);
    std::vector<std::string> paths() const;
    uint32_t created = 0;

private:
    void emit_changed(Sms& sms);

    sd_bus* bus_;
    sd_event* event_;
    sd_bus_slot* manager_slot_ = nullptr;
    sd_bus_slot* modem_slot_ = nullptr;
    sd_bus_slot* messaging_slot_ = nullptr;
    bool modem_ = false;
    uint32_t next_sms_ = 0;
    std::map<std::string, std::unique_ptr<Sms>> sms_;
    std::vector<Sent> sent_;
    int fail_sends_ = 0;
    int lose_replies_ = 0;  // Sends that happen but answer as if timed out
    uint64_t send_delay_ms_ = 0;
    int remove_modem_at_send_ = 0;  // the n-th Send from now takes the modem away; 0: none
};
