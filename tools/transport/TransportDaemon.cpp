#include "tools/transport/TransportDaemon.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <memory>
#include <optional>

#include "platform/UniqueFd.h"
#include "platform/store/StoreDatabase.h"
#include "tools/transport/LoopbackPass.h"
#include "tools/transport/ModemTransport.h"
#include "tools/transport/NetworkChoice.h"
#include "tools/transport/SdBusModemLink.h"
#include "tools/transport/TransportLock.h"
#include "tools/transport/TransportLog.h"
#include "tools/transport/WakeFifo.h"

namespace {

// Work left for later, and a bus that went away, are tried again after this.
constexpr auto kRetry = std::chrono::seconds(60);

// SIGTERM and SIGINT as a descriptor, so that they wake the same poll as
// everything else and are never lost between two checks.
UniqueFd stop_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) return UniqueFd();
    return UniqueFd(signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK));
}

}  // namespace

int TransportDaemon::run() {
    std::optional<TransportLock> lock;
    long holder = 0;
    std::string error;
    switch (TransportLock::take(device_, lock, holder, &error)) {
        case TransportLock::Outcome::Taken:
            break;
        case TransportLock::Outcome::Held:
            transport_log::line(
                "another transport serves this device folder (pid " + std::to_string(holder) + ")",
                device_);
            return 1;
        case TransportLock::Outcome::Failed:
            transport_log::line("cannot take the transport lock", error);
            return 1;
    }
    UniqueFd signals = stop_signals();
    std::optional<WakeFifo> fifo = WakeFifo::listen(device_, &error);
    if (!signals || !fifo) {
        transport_log::line("cannot wait for wake-ups", error);
        return 1;
    }
    std::shared_ptr<StoreDatabase> store = StoreDatabase::open(device_, &error);
    if (!store) {
        transport_log::line("cannot open the message store", error);
        return 1;
    }
    transport_log::line("serving", device_);

    std::unique_ptr<SdBusModemLink> link;
    std::unique_ptr<ModemTransport> modem;
    bool bus_said = false;
    for (;;) {
        // Wake-ups before this point are all served by the pass below.
        fifo->drain();
        bool later = false;
        Network network = network_choice::read();
        if (network == Network::Loopback) {
            modem.reset();
            link.reset();
            later = !loopback_pass(*store);
        } else {
            if (!link) {
                link = SdBusModemLink::connect(&error);
                if (link && !link->follow_changes()) link.reset();
                if (!link && !bus_said)
                    transport_log::line("no system bus; the Outbox waits", error);
                bus_said = !link;
                if (link) modem = std::make_unique<ModemTransport>(*store, *link);
            }
            if (modem) {
                ModemTransport::Outcome outcome = modem->run();
                later = outcome.retry;
            } else {
                later = true;
            }
        }

        auto retry_at = std::chrono::steady_clock::now() + kRetry;
        for (bool pass_due = false; !pass_due;) {
            pollfd fds[3] = {{signals.get(), POLLIN, 0}, {fifo->fd(), POLLIN, 0}, {-1, 0, 0}};
            int timeout = -1;
            if (later) {
                auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    retry_at - std::chrono::steady_clock::now());
                timeout = static_cast<int>(std::max<int64_t>(left.count(), 0));
            }
            if (link) {
                fds[2] = {link->fd(), link->poll_events(), 0};
                int bus_timeout = link->timeout_ms();
                if (bus_timeout >= 0 && (timeout < 0 || bus_timeout < timeout))
                    timeout = bus_timeout;
            }
            int n = ::poll(fds, link ? 3 : 2, timeout);
            if (n < 0 && errno != EINTR) {
                transport_log::line("cannot wait for events");
                return 1;
            }
            if (fds[0].revents & POLLIN) {
                transport_log::line("stopping");
                return 0;
            }
            if (fds[1].revents & POLLIN) pass_due = true;
            if (link) {
                if (!link->process()) {
                    transport_log::line("the system bus went away");
                    modem.reset();
                    link.reset();
                    later = true;
                    continue;
                }
                if (link->take_changed()) pass_due = true;
            }
            if (later && std::chrono::steady_clock::now() >= retry_at) pass_due = true;
        }
    }
}
