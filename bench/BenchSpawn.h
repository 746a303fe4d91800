#pragma once
// Starting the program under measurement: its own process, with the
// benchmark's environment plus (or overriding) a few entries.
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace bench {

// Starts program with args and the added environment entries; -1 on failure.
inline pid_t spawn(const std::string& program, std::vector<std::string> args,
                   const std::vector<std::string>& added, const std::string& out = "/dev/null") {
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
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

}  // namespace bench
