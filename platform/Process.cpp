#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/UniqueFd.h"
#include "platform/Utf16.h"

extern char** environ;

namespace process {

std::vector<std::u16string> split_command_line(std::u16string_view line) {
    std::vector<std::u16string> out;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
        if (i >= line.size()) break;
        std::u16string arg;
        bool quoted = false;
        for (; i < line.size(); ++i) {
            char16_t c = line[i];
            if (c == u'\\') {
                size_t run = 0;
                while (i + run < line.size() && line[i + run] == u'\\') ++run;
                i += run - 1;  // at the last backslash of the run
                bool before_quote = i + 1 < line.size() && line[i + 1] == u'"';
                arg.append(before_quote ? run / 2 : run, u'\\');
                if (before_quote && run % 2 == 1) {
                    arg.push_back(u'"');
                    ++i;  // the escaped quote
                }
                continue;
            }
            if (c == u'"') {
                quoted = !quoted;
                continue;
            }
            if (!quoted && (c == u' ' || c == u'\t')) break;
            arg.push_back(c);
        }
        out.push_back(std::move(arg));
    }
    return out;
}

std::u16string quote_argument(std::u16string_view argument) {
    std::u16string out = u"\"";
    size_t backslashes = 0;
    for (char16_t c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are doubled only where a quote follows them.
        out.append(c == u'"' ? backslashes * 2 + 1 : backslashes, u'\\');
        out.push_back(c);
        backslashes = 0;
    }
    out.append(backslashes * 2, u'\\');
    out.push_back(u'"');
    return out;
}

bool spawn_detached(const std::vector<std::u16string>& argv16) {
    if (argv16.empty() || argv16[0].empty()) return false;
    std::vector<std::string> args;
    for (const auto& a : argv16) args.push_back(utf16::to_utf8(a));
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (access(argv[0], X_OK) != 0) return false;

    // Everything the child needs is made before fork(), so that it only
    // calls what is safe in the child of a threaded process.
    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return false;
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    int status_pipe[2];
    if (pipe2(status_pipe, O_CLOEXEC) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return false;
    }
    UniqueFd from_child(status_pipe[0]), to_parent(status_pipe[1]);

    // The intermediate child starts the program in a session of its own and
    // ends at once; the program is then reparented and never becomes a zombie
    // of ours.
    pid_t child = fork();
    if (child == 0) {
        setsid();
        pid_t pid;
        char ok = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        (void)!write(to_parent.get(), &ok, 1);
        _exit(0);
    }
    posix_spawn_file_actions_destroy(&actions);
    to_parent.reset();
    if (child < 0) return false;
    char ok = 0;
    ssize_t n;
    do {
        n = read(from_child.get(), &ok, 1);
    } while (n < 0 && errno == EINTR);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    return n == 1 && ok;
}

std::string find_program(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) return {};
    const char* path = std::getenv("PATH");
    std::string_view folders = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        size_t colon = folders.find(':');
        std::string_view folder = folders.substr(0, colon);
        // An empty entry is the current folder, which is no place to take a
        // program from when the name comes from elsewhere.
        if (!folder.empty()) {
            std::string candidate = std::string(folder) + "/" + std::string(name);
            struct stat st;
            if (stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
                access(candidate.c_str(), X_OK) == 0)
                return candidate;
        }
        if (colon == std::string_view::npos) return {};
        folders.remove_prefix(colon + 1);
    }
}

}  // namespace process
