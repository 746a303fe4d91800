#pragma once
// Figures of the whole program, as a separate headless quillmo process on a
// device generated with 100,000 messages in 1,000 chats:
//   start_to_list_ms  from starting the process to the chat list on the
//                     screen, with the chat cache warm (an earlier run made
//                     it); the splash's own 0.5 s are part of it
//   start_to_list_no_splash_ms  the same less the splash's 0.5 s
//   rss_list_mb       the process's peak resident memory with the list shown
//   open_chat_13k_ms  on a device of 100,000 messages in 150 chats, from the
//                     tap on the row of the largest chat (about 13,000
//                     messages) to the first frame of the chat form
#include <string>

class ProgramBench {
public:
    // program_dir holds quillmo, quillmo-device and the compiled skins.
    explicit ProgramBench(std::string program_dir) : program_dir_(std::move(program_dir)) {}
    bool run();

private:
    bool start_figures();
    bool open_chat_figure();

    std::string program_dir_;
};
