#include "tools/transport/TransportMain.h"

#include <chrono>
#include <cstdio>
#include <optional>
#include <thread>

#include "platform/Paths.h"
#include "platform/store/StoreDatabase.h"
#include "tools/transport/LoopbackPass.h"
#include "tools/transport/ModemTransport.h"
#include "tools/transport/NetworkChoice.h"
#include "tools/transport/SdBusModemLink.h"
#include "tools/transport/TransportDaemon.h"
#include "tools/transport/TransportLock.h"
#include "tools/transport/TransportLog.h"
#include "tools/transport/WakeFifo.h"

namespace {

const char kUsage[] =
    "usage: quillmo-transport --daemon | --once | --loopback\n"
    "The device's messaging service: sends what the Outbox holds and stores\n"
    "messages that arrive, for the device folder $QUILLMO_DEVICE.\n"
    "  --daemon    run until stopped, following ModemManager and the Outbox\n"
    "              (one daemon per device folder)\n"
    "  --once      wake the daemon when one runs; else send and receive once\n"
    "              over the chosen network and exit (what tmail.exe runs)\n"
    "  --loopback  transmit the Outbox over this machine's loopback network\n"
    "The network is the registry value \"Network\" (a string) under\n"
    "HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo\\Transport: \"modem\" (ModemManager\n"
    "on the system bus, $DBUS_SYSTEM_BUS_ADDRESS when set), \"loopback\", or \"auto\"\n"
    "(the default): the modem when ModemManager answers, else loopback. The\n"
    "daemon always follows the modem unless the value is \"loopback\".\n";

constexpr int kUsageError = 2;
constexpr int kFailure = 1;
// How long --once waits for another single run to finish.
constexpr auto kLockWait = std::chrono::seconds(60);

std::shared_ptr<StoreDatabase> open_store(const std::string& device) {
    std::string error;
    std::shared_ptr<StoreDatabase> store = StoreDatabase::open(device, &error);
    if (!store) transport_log::line("cannot open the message store", error);
    return store;
}

// One pass with the lock held.
int one_pass(const std::string& device, bool loopback_only) {
    std::shared_ptr<StoreDatabase> store = open_store(device);
    if (!store) return kFailure;
    Network network = loopback_only ? Network::Loopback : network_choice::read();
    std::unique_ptr<SdBusModemLink> link;
    if (network != Network::Loopback) {
        std::string error;
        link = SdBusModemLink::connect(&error);
        if (network == Network::Auto)
            network = link && link->manager_answers() ? Network::Modem : Network::Loopback;
        else if (!link)
            transport_log::line("ModemManager cannot be reached; the Outbox waits", error);
    }
    if (network == Network::Loopback) return loopback_pass(*store) ? 0 : kFailure;
    if (!link) return kFailure;
    ModemTransport modem(*store, *link);
    ModemTransport::Outcome outcome = modem.run(ModemTransport::Refused::Retry);
    return outcome.modem && !outcome.retry ? 0 : kFailure;
}

int run_once(const std::string& device, bool loopback_only) {
    auto give_up = std::chrono::steady_clock::now() + kLockWait;
    for (;;) {
        std::optional<TransportLock> lock;
        long holder = 0;
        std::string error;
        switch (TransportLock::take(device, lock, holder, &error)) {
            case TransportLock::Outcome::Taken:
                return one_pass(device, loopback_only);
            case TransportLock::Outcome::Failed:
                transport_log::line("cannot take the transport lock", error);
                return kFailure;
            case TransportLock::Outcome::Held:
                break;
        }
        // A daemon reads the FIFO: it does the work. Another single run does
        // not: its pass may have read the Outbox already, so this one waits
        // for its turn.
        if (WakeFifo::wake(device)) {
            if (!loopback_only) return 0;
            transport_log::line("a daemon serves this device folder; it was woken instead");
            return kFailure;
        }
        if (std::chrono::steady_clock::now() >= give_up) {
            transport_log::line("another transport holds the device folder for too long");
            return kFailure;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace

int transport_main(const std::vector<std::string>& args) {
    if (args.size() == 1 && args[0] == "--help") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() != 1 ||
        (args[0] != "--daemon" && args[0] != "--once" && args[0] != "--loopback")) {
        std::fprintf(stderr, "quillmo-transport: expected one of --daemon, --once, --loopback\n%s",
                     kUsage);
        return kUsageError;
    }
    std::string device = paths::device_folder_utf8();
    if (args[0] == "--daemon") return TransportDaemon(device).run();
    return run_once(device, args[0] == "--loopback");
}
