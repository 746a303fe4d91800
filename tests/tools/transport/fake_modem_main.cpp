// quillmo-fake-modem: the fake ModemManager as a process on the system bus
// ($DBUS_SYSTEM_BUS_ADDRESS, a private bus of the test). It prints "ready"
// once it owns ModemManager's name, then answers each command of stdin with
// one line:
//   modem | remove-modem                     a modem with Messaging comes / goes
//   sms STATE PDU NUMBER TEXT TIME CLASS DELIVERY DATA
//                                            a message on the modem ("ok PATH")
//   ghost                                    Added for a message that is not there
//   state PATH STATE TEXT                    a message changes (a multipart one completes)
//   fail-sends N | send-delay MS | remove-modem-at-send N | lose-replies N
//   report                                   "ok CREATED ON_MODEM NUMBER/TEXT/REPORT..."
// Texts are hexadecimal UTF-8, "-" for none. It ends with stdin.
#include <systemd/sd-bus.h>
#include <systemd/sd-event.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "FakeModemManager.h"

namespace {

struct Session {
    FakeModemManager* fake;
    std::string pending;
};

int on_input(sd_event_source* source, int fd, uint32_t, void* data) {
    Session* session = static_cast<Session*>(data);
    char buffer[4096];
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n <= 0) return sd_event_exit(sd_event_source_get_event(source), 0);
    session->pending.append(buffer, static_cast<size_t>(n));
    for (size_t end; (end = session->pending.find('\n')) != std::string::npos;) {
        std::string line = session->pending.substr(0, end);
        session->pending.erase(0, end + 1);
        std::printf("%s\n", session->fake->command(line).c_str());
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main() {
    sd_event* event = nullptr;
    sd_bus* bus = nullptr;
    if (sd_event_default(&event) < 0 || sd_bus_open_system(&bus) < 0 ||
        sd_bus_attach_event(bus, event, 0) < 0) {
        std::fprintf(stderr, "quillmo-fake-modem: no bus\n");
        return 1;
    }
    int status = 1;
    {
        FakeModemManager fake(bus, event);
        Session session{&fake, {}};
        if (fake.start() && sd_event_add_io(event, nullptr, 0, EPOLLIN, on_input, &session) >= 0) {
            std::printf("ready\n");
            std::fflush(stdout);
            status = sd_event_loop(event) < 0 ? 1 : 0;
        } else {
            std::fprintf(stderr, "quillmo-fake-modem: cannot serve ModemManager's name\n");
        }
    }
    sd_bus_flush_close_unref(bus);
    sd_event_unref(event);
    return status;
}
