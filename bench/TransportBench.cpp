#include "bench/TransportBench.h"

#include <signal.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "bench/BenchSpawn.h"
#include "platform/Registry.h"
#include "platform/store/StoreDatabase.h"
#include "tests/tools/transport/FakeModemBus.h"
#include "tools/transport/WakeFifo.h"

namespace {

constexpr int kReceiveRuns = 3;
constexpr int kSendRuns = 15;
constexpr int kMessages = 1000;

bool use_modem(FakeModemBus& bus) {
    registry::write_string(u"HKEY_CURRENT_USER\\Software\\Zelvor\\Quillmo\\Transport", u"Network",
                           u"modem");
    return bus.ready() && bus.command("modem") == "ok";
}

std::shared_ptr<StoreDatabase> open_store() {
    std::string error;
    auto store = StoreDatabase::open(std::getenv("QUILLMO_DEVICE"), &error);
    if (!store) std::fprintf(stderr, "quillmo-bench: %s\n", error.c_str());
    return store;
}

int wait_for(pid_t pid) {
    int status = 0;
    if (pid <= 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

bool TransportBench::receive_1000(double& ms) {
    std::vector<double> times;
    for (int run = 0; run < kReceiveRuns; ++run) {
        BenchFolders folders;
        FakeModemBus bus;
        if (!use_modem(bus)) return false;
        for (int i = 0; i < kMessages; ++i) {
            std::string text = FakeModemBus::hex("Message number " + std::to_string(i));
            std::string number = FakeModemBus::hex("+49155500" + std::to_string(1000 + i % 50));
            if (!bus.command("sms 3 1 " + number + " " + text + " " +
                             FakeModemBus::hex("2026-11-22T10:05:00+01:00") + " -1 256 0")
                     .starts_with("ok"))
                return false;
        }
        double start = bench::now_us();
        int status = wait_for(bench::spawn(program_dir_ + "/quillmo-transport", {"--once"}, {}));
        times.push_back((bench::now_us() - start) / 1000);
        auto store = open_store();
        auto inbox = store ? store->list_messages(StoreFolderKind::Inbox) : std::nullopt;
        if (status != 0 || !inbox || inbox->size() != kMessages) {
            std::fprintf(stderr, "quillmo-bench: the transport stored %zu of %d messages\n",
                         inbox ? inbox->size() : 0, kMessages);
            return false;
        }
    }
    ms = bench::median(times);
    return true;
}

bool TransportBench::send_one(double& ms) {
    BenchFolders folders;
    FakeModemBus bus;
    if (!use_modem(bus)) return false;
    auto store = open_store();
    if (!store) return false;
    std::string device = std::getenv("QUILLMO_DEVICE");
    pid_t daemon = bench::spawn(program_dir_ + "/quillmo-transport", {"--daemon"}, {});
    for (int i = 0; i < 500 && !std::filesystem::exists(device + "/transport.wake"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::vector<double> times;
    bool ok = true;
    for (int run = 0; run < kSendRuns && ok; ++run) {
        StoredMessage m;
        m.folder = StoreFolderKind::Outbox;
        m.flags = 0x28;
        m.submitted = true;
        m.body = u"Are we still on for tonight?";
        m.recipients = {{u"", u"+4915550100"}};
        double start = bench::now_us();
        StoreDatabase::Bytes id = store->add_message(m);
        ok = !id.empty() && WakeFifo::wake(device);
        for (double waited = 0; ok; waited = bench::now_us() - start) {
            std::optional<StoredMessage> sent = store->find_message(id);
            if (sent && sent->folder == StoreFolderKind::SentItems) break;
            ok = waited < 10e6;
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        times.push_back((bench::now_us() - start) / 1000);
    }
    kill(daemon, SIGTERM);
    wait_for(daemon);
    if (!ok) std::fprintf(stderr, "quillmo-bench: a message did not reach Sent Items\n");
    ms = bench::median(times);
    return ok;
}

bool TransportBench::run() {
    if (!std::filesystem::exists(QUILLMO_FAKE_MODEM)) {
        std::fprintf(stderr, "quillmo-bench: transport needs %s (a build with tests)\n",
                     QUILLMO_FAKE_MODEM);
        return false;
    }
    double ms = 0;
    if (!receive_1000(ms)) return false;
    bench::report("transport_receive_1000_ms", ms, "ms");
    if (!send_one(ms)) return false;
    bench::report("transport_send_one_ms", ms, "ms");
    return true;
}
