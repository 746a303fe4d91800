#include "bench/AppBench.h"

#include <dirent.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#include "app/Application.h"
#include "bench/BenchClock.h"
#include "bench/BenchFolders.h"
#include "bench/BenchSpawn.h"
#include "bench/GeneratedSkin.h"
#include "forms/FormPreview.h"
#include "forms/FormStack.h"
#include "skin/Properties.h"

namespace {

constexpr int kFrameRuns = 201;
constexpr int kIdleSeconds = 10;

// CPU time of every thread of a process, in nanoseconds: from the
// scheduler's own accounting of each thread where the kernel offers it, else
// from the clock ticks of /proc/PID/stat (10 ms each).
long long cpu_ns(pid_t pid) {
    std::string base = "/proc/" + std::to_string(pid);
    long long total = 0;
    bool every_thread = true;
    if (DIR* dir = opendir((base + "/task").c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            std::ifstream in(base + "/task/" + entry->d_name + "/schedstat");
            long long on_cpu = 0;
            if (in >> on_cpu)
                total += on_cpu;
            else
                every_thread = false;
        }
        closedir(dir);
    } else {
        every_thread = false;
    }
    if (every_thread) return total;
    std::ifstream stat(base + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    // The fields after the command name, which may hold spaces, in brackets.
    size_t close = text.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long user = -1, system = -1;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14) user = std::stoll(field);
        if (i == 15) {
            system = std::stoll(field);
            break;
        }
    }
    if (user < 0 || system < 0) return -1;
    return (user + system) * (1000000000LL / sysconf(_SC_CLK_TCK));
}

}  // namespace

bool AppBench::run() { return run_frames() && run_idle_cpu(); }

bool AppBench::run_frames() {
    BenchFolders folders;
    setenv("QUILLMO_VIDEO", "headless", 1);
    setenv("QUILLMO_SCREEN", "480x800@96", 1);
    std::filesystem::path skins = folders.device().parent_path() / "program" / "skins" / "bin";
    generated_skin::FormShape shape{200, 40, 10, "right"};
    std::u16string skin = generated_skin::write_skin(skins, "frames", shape);
    if (skin.empty()) return false;

    Application app(u"QuillmoBench", generated_skin::screen_96(), nullptr);
    app.set_direct_mode(4);
    Properties properties;
    if (!properties.load_skin(skin, generated_skin::screen_96())) {
        std::fprintf(stderr, "quillmo-bench: the generated skin does not load\n");
        return false;
    }
    FormPreview first(properties, u"form");
    FormPreview second(properties, u"form");
    FormStack& forms = app.form_stack();
    forms.push(first, false, false);
    app.pump();  // lays out, lays the texts out and caches the glyphs
    app.pump();
    GameBase& game = app.game();

    auto next_tick = [] { std::this_thread::sleep_for(std::chrono::microseconds(1100)); };
    bench::report("frame_idle_us",
                  bench::median_us(
                      kFrameRuns, [&] { game.frame_tick(false); }, next_tick),
                  "us");
    if (forms.needs_drawing(true)) {
        std::fprintf(stderr, "quillmo-bench: an idle frame left something to draw\n");
        return false;
    }
    bench::report("frame_full_480x800_us",
                  bench::median_us(
                      kFrameRuns, [&] { game.frame_tick(true); }, [&] { forms.set_redraw(); }),
                  "us");
    bench::report("transition_frame_us",
                  bench::median_us(
                      kFrameRuns, [&] { game.frame_tick(true); },
                      [&] {
                          if (forms.transition_running()) return;
                          forms.remove(second, false);
                          forms.push(second, false, true);
                      }),
                  "us");
    forms.remove(second, false);
    forms.remove(first, false);
    return true;
}

bool AppBench::run_idle_cpu() {
    BenchFolders folders;
    std::string program = program_dir_ + "/quillmo";
    std::vector<std::string> added = {"QUILLMO_VIDEO=headless", "QUILLMO_SCREEN=480x800@192",
                                      "QUILLMO_FORM=test_list", "QUILLMO_HOME=" + program_dir_,
                                      "XDG_RUNTIME_DIR=" + folders.device().string()};
    pid_t pid = bench::spawn(program, {}, added);
    if (pid < 0) {
        std::fprintf(stderr, "quillmo-bench: cannot start %s\n", program.c_str());
        return false;
    }
    // Start-up is not idle: let it settle first.
    std::this_thread::sleep_for(std::chrono::seconds(2));
    long long before = cpu_ns(pid);
    double start = bench::now_us();
    std::this_thread::sleep_for(std::chrono::seconds(kIdleSeconds));
    long long after = cpu_ns(pid);
    double seconds = (bench::now_us() - start) / 1e6;
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    if (before < 0 || after < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "quillmo-bench: the idle program did not run to the end\n");
        return false;
    }
    bench::report("idle_cpu_ms_per_s", static_cast<double>(after - before) / 1e6 / seconds, "ms");
    return true;
}
