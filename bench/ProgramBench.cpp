#include "bench/ProgramBench.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"

extern char** environ;

namespace {

constexpr int kRuns = 7;

// Starts program with args and the added environment entries; -1 on failure.
pid_t spawn(const std::string& program, std::vector<std::string> args,
            const std::vector<std::string>& added) {
    std::vector<std::string> env_text;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& add : added) replaced |= add.compare(0, name.size(), name) == 0;
        if (!replaced) env_text.push_back(entry);
    }
    env_text.insert(env_text.end(), added.begin(), added.end());
    std::vector<char*> envp;
    for (std::string& e : env_text) envp.push_back(e.data());
    envp.push_back(nullptr);
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

bool ended_well(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Peak resident set of a live process in MB, from /proc; -1 when unknown.
double peak_rss_mb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return -1;
}

}  // namespace

bool ProgramBench::run() {
    BenchFolders folders;
    std::filesystem::path root = folders.device().parent_path();
    std::vector<std::string> env = {"QUILLMO_VIDEO=headless", "QUILLMO_SCREEN=480x800@192",
                                    "QUILLMO_FORM=", "QUILLMO_HOME=" + program_dir_,
                                    "XDG_RUNTIME_DIR=" + folders.device().string()};
    pid_t generate = spawn(program_dir_ + "/quillmo-device",
                           {"sms", "generate", "--messages", "100000", "--chats", "1000"}, env);
    if (generate < 0 || !ended_well(generate)) {
        std::fprintf(stderr, "quillmo-bench: the device cannot be generated\n");
        return false;
    }
    // The list is on the screen once the main form's button can be found;
    // the script then says so by writing a file, and waits to be ended.
    std::filesystem::path shown = root / "shown.json";
    std::filesystem::path script = root / "bench.script";
    std::ofstream(script) << "wait-for-id btnNew 60000\ndump " << shown.string()
                          << "\nwait 60000\nquit\n";
    env.push_back("QUILLMO_SCRIPT=" + script.string());

    std::vector<double> start_ms, rss_mb;
    // The first run builds the cache and is not counted.
    for (int run = 0; run <= kRuns; ++run) {
        std::filesystem::remove(shown);
        double start = bench::now_us();
        pid_t pid = spawn(program_dir_ + "/quillmo", {}, env);
        if (pid < 0) return false;
        while (!std::filesystem::exists(shown) && bench::now_us() - start < 60e6)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        double elapsed_ms = (bench::now_us() - start) / 1000.0;
        // A moment for the first frame of the list to be drawn, then the
        // peak so far.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        double rss = peak_rss_mb(pid);
        kill(pid, SIGTERM);
        if (!ended_well(pid) || !std::filesystem::exists(shown) || rss < 0) {
            std::fprintf(stderr, "quillmo-bench: the program did not show its list\n");
            return false;
        }
        if (run == 0) continue;
        start_ms.push_back(elapsed_ms);
        rss_mb.push_back(rss);
    }
    bench::report("start_to_list_ms", bench::median(start_ms), "ms");
    bench::report("rss_list_mb", bench::median(rss_mb), "MB");
    return true;
}
