// quillmo: the application. Its command line is the handset's: nothing,
// "message" (started by the system when a message arrives) or "open:NUMBER".
#include <csignal>
#include <iostream>
#include <string>

#include "app/TerminalView.h"
#include "platform/Utf16.h"

namespace {

const char kUsage[] =
    "usage: quillmo [message | open:NUMBER]\n"
    "\n"
    "A chat-style SMS client for the device in $QUILLMO_DEVICE\n"
    "(default ${XDG_DATA_HOME:-~/.local/share}/quillmo).\n"
    "\n"
    "  (nothing)     show the chat list\n"
    "  message       show the newest unread message (the system starts the\n"
    "                program this way when a message arrives)\n"
    "  open:NUMBER   show the chat with NUMBER\n"
    "  --help        show this help\n"
    "  --version     show the version\n";

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write over `ulimit -f` fails with EFBIG and says so
    std::string command_line;
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
        if (!command_line.empty()) command_line += ' ';
        command_line += arg;
    }
    return TerminalView::run(utf16::from_utf8(command_line), std::cout, std::cerr);
}
