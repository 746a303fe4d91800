#pragma once
// Figures of the application loop, headless, on a generated 200-element form
// at 480 x 800:
//   frame_idle_us          a frame tick when nothing changed (it must not draw)
//   frame_full_480x800_us  a frame that redraws the whole form and presents it
//   transition_frame_us    a frame of a slide transition between two full forms
//   idle_cpu_ms_per_s      the program's CPU time per second of wall time over
//                          10 s, showing the chat-list-sized test form with
//                          nothing animating (a separate quillmo process)
#include <string>

class AppBench {
public:
    // program_dir holds quillmo and the compiled test skin.
    explicit AppBench(std::string program_dir) : program_dir_(std::move(program_dir)) {}
    bool run();

private:
    bool run_frames();
    bool run_idle_cpu();

    std::string program_dir_;
};
