// Starts like the program does, for the single-instance tests:
//
//   instance_probe serve DEVICE TIMEOUT_MS [DELAY_MS]
//     takes the running instance's role: prints "starting" once it holds the
//     lock, waits DELAY_MS (its window being built), listens, prints
//     "listening", then prints every command line handed over and
//     acknowledges it; ends after "quit". Ends with 0 at once when another
//     instance runs.
//   instance_probe serve-hung DEVICE TIMEOUT_MS
//     the same, but never acknowledges.
//   instance_probe start DEVICE TIMEOUT_MS COMMAND_LINE
//     exit 0 when the command line was handed over, 3 when it should start.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "app/SingleInstance.h"
#include "platform/Utf16.h"

namespace {

void say(const std::string& line) {
    std::string text = line + "\n";
    (void)::write(1, text.data(), text.size());
}

int serve(SingleInstance& instance, int delay_ms, bool acknowledge) {
    if (instance.show_running_instance(u"")) return 0;
    say("starting");
    std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<HandOver> queue;
    bool listening = instance.listen([&](HandOver hand_over) {
        std::lock_guard lock(mutex);
        queue.push_back(std::move(hand_over));
        arrived.notify_one();
    });
    if (!listening) return 1;
    instance.release_mutex();
    say("listening");
    std::vector<HandOver> unanswered;
    for (;;) {
        std::unique_lock lock(mutex);
        arrived.wait(lock, [&] { return !queue.empty(); });
        HandOver hand_over = std::move(queue.front());
        queue.pop_front();
        lock.unlock();
        std::string text = utf16::to_utf8(hand_over.command_line());
        say(text);
        if (!acknowledge) {
            unanswered.push_back(std::move(hand_over));
            continue;
        }
        hand_over.acknowledge();
        if (text == "quit") return 0;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) return 2;
    std::string mode = argv[1];
    SingleInstance instance(u"Quillmo", argv[2], std::chrono::milliseconds(std::atoi(argv[3])));
    if (mode == "serve") return serve(instance, argc > 4 ? std::atoi(argv[4]) : 0, true);
    if (mode == "serve-hung") return serve(instance, 0, false);
    if (mode == "start" && argc > 4)
        return instance.show_running_instance(utf16::from_utf8(argv[4])) ? 0 : 3;
    return 2;
}
