#include "tools/transport/TransportDaemon.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>

#include "tools/transport/LoopbackPass.h"
#include "tools/transport/NetworkChoice.h"
#include "tools/transport/TransportLog.h"

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
    if (!start()) return 1;
    transport_log::line("serving", device_);
    // The first pass takes up what a transport before this one left.
    Wake wake = Wake::Submission;
    while (wake != Wake::Stop && wake != Wake::Failed) {
        // Wake-ups before this point are all served by the pass below.
        fifo_->drain();
        bool refused_too = wake != Wake::Messages;
        bool later =
            pass(refused_too ? ModemTransport::Refused::Retry : ModemTransport::Refused::Leave);
        wake = wait(later);
    }
    if (wake == Wake::Failed) return 1;
    transport_log::line("stopping");
    return 0;
}

bool TransportDaemon::start() {
    long holder = 0;
    std::string error;
    switch (TransportLock::take(device_, lock_, holder, &error)) {
        case TransportLock::Outcome::Taken:
            break;
        case TransportLock::Outcome::Held:
            transport_log::line(
                "another transport serves this device folder (pid " + std::to_string(holder) + ")",
                device_);
            return false;
        case TransportLock::Outcome::Failed:
            transport_log::line("cannot take the transport lock", error);
            return false;
    }
    signals_ = stop_signals();
    fifo_ = WakeFifo::listen(device_, &error);
    if (!signals_ || !fifo_) {
        transport_log::line("cannot wait for wake-ups", error);
        return false;
    }
    store_ = StoreDatabase::open(device_, &error);
    if (!store_) transport_log::line("cannot open the message store", error);
    return store_ != nullptr;
}

void TransportDaemon::connect() {
    if (link_) return;
    std::string error;
    link_ = SdBusModemLink::connect(&error);
    if (link_ && !link_->follow_changes()) {
        error = link_->last_error();
        link_.reset();
    }
    if (!link_ && !said_no_bus_) transport_log::line("no system bus; the Outbox waits", error);
    said_no_bus_ = !link_;
    if (link_) modem_ = std::make_unique<ModemTransport>(*store_, *link_);
}

bool TransportDaemon::pass(ModemTransport::Refused refused) {
    if (network_choice::read() == Network::Loopback) {
        modem_.reset();
        link_.reset();
        return !loopback_pass(*store_);
    }
    connect();
    return !modem_ || modem_->run(refused).retry;
}

TransportDaemon::Wake TransportDaemon::wait(bool later) {
    auto retry_at = std::chrono::steady_clock::now() + kRetry;
    for (;;) {
        int timeout = -1;
        if (later) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                retry_at - std::chrono::steady_clock::now());
            timeout = static_cast<int>(std::max<int64_t>(left.count(), 0));
        }
        pollfd fds[3] = {{signals_.get(), POLLIN, 0}, {fifo_->fd(), POLLIN, 0}, {-1, 0, 0}};
        if (link_) {
            fds[2] = {link_->fd(), link_->poll_events(), 0};
            int bus_timeout = link_->timeout_ms();
            if (bus_timeout >= 0 && (timeout < 0 || bus_timeout < timeout)) timeout = bus_timeout;
        }
        if (::poll(fds, link_ ? 3 : 2, timeout) < 0 && errno != EINTR) {
            transport_log::line("cannot wait for events");
            return Wake::Failed;
        }
        if (fds[0].revents & POLLIN) return Wake::Stop;
        if (fds[1].revents & POLLIN) return Wake::Submission;
        if (link_) {
            if (!link_->process()) {
                transport_log::line("the system bus went away");
                modem_.reset();
                link_.reset();
                later = true;
                continue;
            }
            SdBusModemLink::Changes changes = link_->take_changes();
            if (changes.modems) return Wake::Modems;
            if (changes.messages) return Wake::Messages;
        }
        if (later && std::chrono::steady_clock::now() >= retry_at) return Wake::Retry;
    }
}
