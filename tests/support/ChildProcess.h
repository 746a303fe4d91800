#pragma once
// Runs another program of the build as a real process for a test: its own
// environment additions, stdout and stderr kept, and a time limit after which
// it is killed (a hang fails the test instead of stalling it).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

class ChildProcess {
public:
    // Starts program with args; env entries "NAME=VALUE" override the
    // test's own environment.
    ChildProcess(const std::string& program, const std::vector<std::string>& args,
                 const std::vector<std::string>& env = {}) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillmo-child-XXXXXX").string();
        folder_ = mkdtemp(pattern.data());
        std::vector<std::string> argv_text{program};
        argv_text.insert(argv_text.end(), args.begin(), args.end());
        // An entry is left out when an addition from index `from` on names
        // the same variable: the additions replace the test's own entries,
        // and among the additions the last of a name wins.
        auto name_of = [](const std::string& e) { return e.substr(0, e.find('=') + 1); };
        auto overridden = [&](const std::string& entry, size_t from) {
            for (size_t j = from; j < env.size(); ++j)
                if (name_of(env[j]) == name_of(entry)) return true;
            return false;
        };
        std::vector<std::string> env_text;
        for (char** e = environ; *e; ++e)
            if (!overridden(*e, 0)) env_text.push_back(*e);
        for (size_t i = 0; i < env.size(); ++i)
            if (!overridden(env[i], i + 1)) env_text.push_back(env[i]);
        std::vector<char*> argv, envp;
        for (std::string& a : argv_text) argv.push_back(a.data());
        argv.push_back(nullptr);
        for (std::string& e : env_text) envp.push_back(e.data());
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, (folder_ / "out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, (folder_ / "err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ChildProcess() {
        if (pid_ > 0 && !done_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // The exit status; 128 + the signal's number for a process a signal
    // ended; -1 when it did not end in time (it is killed then).
    int wait(std::chrono::milliseconds limit = std::chrono::seconds(30)) {
        if (pid_ <= 0) return -1;
        if (done_) return status_;
        auto end = std::chrono::steady_clock::now() + limit;
        int raw = 0;
        for (;;) {
            pid_t r = ::waitpid(pid_, &raw, WNOHANG);
            if (r == pid_) break;
            if (std::chrono::steady_clock::now() >= end) {
                ::kill(pid_, SIGKILL);
                ::waitpid(pid_, &raw, 0);
                done_ = true;
                status_ = -1;
                return status_;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        done_ = true;
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : WIFSIGNALED(raw) ? 128 + WTERMSIG(raw) : -1;
        return status_;
    }
    void signal(int number) {
        if (pid_ > 0 && !done_) ::kill(pid_, number);
    }
    std::string out() const { return read(folder_ / "out"); }
    std::string err() const { return read(folder_ / "err"); }

private:
    static std::string read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::filesystem::path folder_;
    pid_t pid_ = -1;
    bool done_ = false;
    int status_ = -1;
};
