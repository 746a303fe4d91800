#pragma once
// Figures of the whole program, as a separate headless quillmo process on a
// device generated with 100,000 messages in 1,000 chats:
//   start_to_list_ms  from starting the process to the chat list on the
//                     screen, with the chat cache warm (an earlier run made
//                     it); the splash's own 0.5 s are part of it
//   rss_list_mb       the process's peak resident memory with the list shown
#include <string>

class ProgramBench {
public:
    // program_dir holds quillmo, quillmo-device and the compiled skins.
    explicit ProgramBench(std::string program_dir) : program_dir_(std::move(program_dir)) {}
    bool run();

private:
    std::string program_dir_;
};
