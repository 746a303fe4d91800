#pragma once
// A private system bus (dbus-daemon with test-bus.conf, its socket in a
// temporary folder) with the fake ModemManager on it, for one test. The
// test's own environment points DBUS_SYSTEM_BUS_ADDRESS at it, so every
// program it starts talks to the fake and never to the machine's bus.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/tools/transport/FakeModemHex.h"

extern char** environ;

class FakeModemBus {
public:
    FakeModemBus() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmo-bus-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        std::string socket = (folder_ / "bus").string();
        address_ = "unix:path=" + socket;
        bus_ = spawn({"dbus-daemon", "--nofork", "--config-file=" QUILLMO_TEST_BUS_CONFIG,
                      "--address=" + address_},
                     nullptr, nullptr);
        for (int i = 0; i < 500 && !std::filesystem::exists(socket); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        setenv("DBUS_SYSTEM_BUS_ADDRESS", address_.c_str(), 1);
        int to_fake[2], from_fake[2];
        if (pipe2(to_fake, O_CLOEXEC) != 0 || pipe2(from_fake, O_CLOEXEC) != 0) return;
        fake_ = spawn({QUILLMO_FAKE_MODEM}, &to_fake[0], &from_fake[1]);
        close(to_fake[0]);
        close(from_fake[1]);
        in_ = to_fake[1];
        out_ = from_fake[0];
        ready_ = read_line() == "ready";
    }
    ~FakeModemBus() {
        if (in_ >= 0) close(in_);
        if (out_ >= 0) close(out_);
        for (pid_t pid : {fake_, bus_}) {
            if (pid <= 0) continue;
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    FakeModemBus(const FakeModemBus&) = delete;
    FakeModemBus& operator=(const FakeModemBus&) = delete;

    bool ready() const { return ready_; }
    const std::string& address() const { return address_; }

    // One command of the fake (see fake_modem_main.cpp); its answer line.
    std::string command(const std::string& line) {
        std::string text = line + "\n";
        if (write(in_, text.data(), text.size()) != static_cast<ssize_t>(text.size())) return "";
        return read_line();
    }

    // Stops the bus itself (the system bus going away).
    void stop_bus() {
        kill(bus_, SIGTERM);
        waitpid(bus_, nullptr, 0);
        bus_ = -1;
    }

    static std::string hex(const std::string& bytes) { return fake_modem_hex::to_hex(bytes); }

private:
    pid_t spawn(std::vector<std::string> args, int* in, int* out) {
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (in) posix_spawn_file_actions_adddup2(&actions, *in, 0);
        if (out) posix_spawn_file_actions_adddup2(&actions, *out, 1);
        if (!out) {
            // dbus-daemon: its notes (an fd limit it may not raise) are no test's output.
            posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        }
        pid_t pid = -1;
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        return pid;
    }

    // A line of the fake's answers; empty when none comes within 10 s.
    std::string read_line() {
        std::string line;
        for (;;) {
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, 10000) <= 0) return "";
            char c;
            if (read(out_, &c, 1) != 1) return "";
            if (c == '\n') return line;
            line += c;
        }
    }

    std::filesystem::path folder_;
    std::string address_;
    pid_t bus_ = -1, fake_ = -1;
    int in_ = -1, out_ = -1;
    bool ready_ = false;
};
