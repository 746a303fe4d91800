// quillmo: the application. Its command line is the handset's: nothing,
// "message" (started by the system when a message arrives) or "open:NUMBER".
#include <csignal>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "app/AppController.h"
#include "app/Application.h"
#include "app/PreviewController.h"
#include "app/ScriptRun.h"
#include "app/SignalWatch.h"
#include "app/SingleInstance.h"
#include "app/TerminalView.h"
#include "display/ScreenSpec.h"
#include "display/Window.h"
#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Stopwatch.h"
#include "platform/TerminalText.h"
#include "platform/Utf16.h"
#include "skin/NodeNotFound.h"
#include "skin/NodeNotFoundInSkin.h"
#include "skin/NodeNotRegistered.h"

namespace {

const char kUsage[] =
    "usage: quillmo [--terminal] [message | open:NUMBER | sms:NUMBER?body=TEXT]\n"
    "\n"
    "A chat-style SMS client for the device in $QUILLMO_DEVICE\n"
    "(default ${XDG_DATA_HOME:-~/.local/share}/quillmo).\n"
    "\n"
    "  (nothing)     start, or bring the running program to the front\n"
    "  message       show the newest unread message (the system starts the\n"
    "                program this way when a message arrives)\n"
    "  open:NUMBER   show the chat with NUMBER\n"
    "  sms:NUMBER?body=TEXT\n"
    "                the same, with TEXT to start the message (an sms: link)\n"
    "  --terminal    print the chat list (or the alert, or a chat) instead of\n"
    "                opening the window\n"
    "  --help        show this help\n"
    "  --version     show the version\n"
    "\n"
    "Environment:\n"
    "  QUILLMO_SCREEN=WxH@DPI  the handset screen (default 480x800@192)\n"
    "  QUILLMO_VIDEO=headless  run without a display (default: sdl)\n"
    "  QUILLMO_SCRIPT=FILE     play the commands of FILE (tap, key, type, shot, ...)\n"
    "  QUILLMO_FORM=NODE       show that node of the skin as the screen\n"
    "  QUILLMO_PROFILE=smartphone  keys only, no pointer\n";

// What the user reads when the program cannot start: one line on stderr, the
// same in the log, and a message box when there is a display to show it on.
int report_failure(const std::string& line) {
    std::string clean = terminal_text::clean_utf8(line);
    std::cerr << "quillmo: " << clean << "\n";
    log() << u"Fatal: " << utf16::from_utf8(line) << u"\n";
    log().flush();
    Window::show_error_box("Quillmo", clean);
    return 1;
}

std::u16string env_text(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return utf16::from_utf8(value && *value ? value : fallback);
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write over `ulimit -f` fails with EFBIG and says so
    std::signal(SIGPIPE, SIG_IGN);  // a later start that went away is an error, not our end
    Stopwatch since_start;
    std::string command_line;
    bool terminal = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "quillmo " << QUILLMO_VERSION << "\n";
            return 0;
        }
        if (arg == "--terminal") {
            terminal = true;
            continue;
        }
        if (!command_line.empty()) command_line += ' ';
        command_line += arg;
    }
    std::u16string command = utf16::from_utf8(command_line);
    if (terminal) return TerminalView::run(command, std::cout, std::cerr);

    std::string error;
    std::optional<ScreenSpec> parsed = ScreenSpec::from_environment(error);
    if (!parsed) {
        std::cerr << "quillmo: " << error << "\n";
        return 2;
    }
    ScreenInfo screen = parsed->screen();
    std::unique_ptr<ScriptRun> script;
    try {
        if (const char* path = std::getenv("QUILLMO_SCRIPT"); path && *path)
            script = ScriptRun::load(path);
    } catch (const std::exception& e) {
        std::cerr << "quillmo: " << terminal_text::clean_utf8(e.what()) << "\n";
        return 2;
    }

    // A stop asked for at any moment ends the loop in order, also one that
    // comes while the window is still being made.
    std::mutex running_mutex;
    Application* running = nullptr;
    bool stop_requested = false;
    SignalWatch signals([&] {
        std::lock_guard lock(running_mutex);
        stop_requested = true;
        if (running) running->quit(0);
    });
    auto set_running = [&](Application* app) {
        std::lock_guard lock(running_mutex);
        running = app;
        if (app && stop_requested) app->quit(0);
    };

    SingleInstance instance(u"Quillmo", paths::device_folder_utf8());
    if (instance.show_running_instance(command)) return 0;
    log() << u"time1: " << since_start.elapsed_ms() << u"\n";

    int status = 0;
    try {
        Application app(u"Quillmo", screen, &instance);
        set_running(&app);
        struct NotRunning {
            std::function<void(Application*)> set;
            ~NotRunning() { set(nullptr); }
        } not_running{set_running};
        app.set_key_input(false);
        app.set_gdi_mode(false);
        app.set_direct_mode(app.read_screen_info().orientation);
        log() << u"time2: " << since_start.elapsed_ms() << u"\n";
        // $QUILLMO_FORM shows one node of the skin instead of the program.
        std::unique_ptr<AppListener> controller;
        if (const char* form = std::getenv("QUILLMO_FORM"); form && *form)
            controller = std::make_unique<PreviewController>(app, env_text("QUILLMO_FORM", ""));
        else
            controller = std::make_unique<AppController>(app, command);
        log() << u"time3:" << since_start.elapsed_ms() << u"\n";
        log() << u"total_load_time:" << since_start.elapsed_ms() << u"\n";
        app.game().set_script(script.get());
        status = app.run();
        app.game().set_script(nullptr);
    } catch (const NodeNotFoundInSkin& e) {
        return report_failure("the skin has no node \"" + utf16::to_utf8(e.node_name) + "\"");
    } catch (const NodeNotFound& e) {
        return report_failure("the skin's \"" + utf16::to_utf8(e.in_id) + "\" has no element \"" +
                              utf16::to_utf8(e.wanted_id) + "\"");
    } catch (const NodeNotRegistered& e) {
        return report_failure("the skin uses an element kind \"" + utf16::to_utf8(e.kind) +
                              "\" that this program does not have");
    } catch (const std::exception& e) {
        return report_failure(e.what());
    }
    return status;
}
