#pragma once
// The program's face until its window exists: runs one command line of the
// handset ("", "message", "open:NUMBER") against the chat model and prints what
// the screens would show. It is the program, so the model it runs is started
// (the system settings, the new-message notification request, the unread
// total and the cache are written). Every stored text it prints goes through
// the terminal filter first.
#include <ostream>
#include <string>

class TerminalView {
public:
    // Returns the process's exit status.
    static int run(const std::u16string& command_line, std::ostream& out, std::ostream& err);

private:
    static int show_chat_list(std::ostream& out, std::ostream& err);
    static int show_alert(std::ostream& out, std::ostream& err);
    static int show_chat(const std::u16string& number, std::ostream& out, std::ostream& err);
};
