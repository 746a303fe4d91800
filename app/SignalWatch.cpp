#include "app/SignalWatch.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace {

constexpr int kSignals[3] = {SIGINT, SIGTERM, SIGHUP};
std::atomic<int> g_write_end{-1};

void on_signal(int) {
    int saved = errno;
    int fd = g_write_end.load();
    if (fd >= 0) {
        char byte = 1;
        [[maybe_unused]] ssize_t n = ::write(fd, &byte, 1);
    }
    errno = saved;
}

}  // namespace

SignalWatch::SignalWatch(std::function<void()> on_signal_callback)
    : on_signal_(std::move(on_signal_callback)) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    read_end_ = UniqueFd(fds[0]);
    write_end_ = UniqueFd(fds[1]);
    g_write_end = write_end_.get();
    struct sigaction action = {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &action, &previous_[i]);
    thread_ = std::thread([this] {
        char byte;
        for (;;) {
            ssize_t n = ::read(read_end_.get(), &byte, 1);
            if (n < 0 && errno == EINTR) continue;
            // 0: the write end closed, the watch is ending; 2 marks the end
            // too.
            if (n <= 0 || byte != 1) return;
            on_signal_();
        }
    });
}

SignalWatch::~SignalWatch() {
    if (!thread_.joinable()) return;
    for (int i = 0; i < 3; ++i) sigaction(kSignals[i], &previous_[i], nullptr);
    g_write_end = -1;
    char end = 2;
    [[maybe_unused]] ssize_t n = ::write(write_end_.get(), &end, 1);
    thread_.join();
}
