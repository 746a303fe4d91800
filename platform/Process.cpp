#include "platform/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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

    // The intermediate child starts the program in a session of its own and
    // ends at once; the program is then reparented and never becomes a zombie
    // of ours. Its standard streams go to /dev/null.
    int status_pipe[2];
    if (pipe2(status_pipe, O_CLOEXEC) != 0) return false;
    pid_t child = fork();
    if (child < 0) {
        close(status_pipe[0]);
        close(status_pipe[1]);
        return false;
    }
    if (child == 0) {
        close(status_pipe[0]);
        setsid();
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid;
        char ok = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0;
        (void)!write(status_pipe[1], &ok, 1);
        _exit(0);
    }
    close(status_pipe[1]);
    char ok = 0;
    ssize_t n = read(status_pipe[0], &ok, 1);
    close(status_pipe[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return n == 1 && ok;
}

}  // namespace process
