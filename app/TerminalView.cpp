#include "app/TerminalView.h"

#include <unistd.h>

#include "chats/ChatKey.h"
#include "chats/ChatListing.h"
#include "chats/ChatModel.h"
#include "platform/TerminalText.h"

namespace {

// Start-up progress on the error stream, so that the list itself stays clean.
class ProgressLine : public ProgressListener {
public:
    // Shown only on a terminal; redirected output gets no progress noise.
    explicit ProgressLine(std::ostream& err) : err_(err), enabled_(isatty(2) != 0) {}
    ~ProgressLine() override {
        if (shown_) err_ << "\r              \r" << std::flush;
    }
    void on_progress(double fraction) override {
        int percent = static_cast<int>(fraction * 10) * 10;
        if (!enabled_ || percent == last_) return;
        last_ = percent;
        shown_ = true;
        err_ << "\rLoading " << percent << "%" << std::flush;
    }

private:
    std::ostream& err_;
    bool enabled_;
    int last_ = -1;
    bool shown_ = false;
};

}  // namespace

int TerminalView::run(const std::u16string& command_line, std::ostream& out, std::ostream& err) {
    if (command_line.empty()) return show_chat_list(out, err);
    if (command_line == u"message") return show_alert(out, err);
    if (command_line.starts_with(u"open:")) return show_chat(command_line.substr(5), out, err);
    err << "quillmo: unknown command line '" << terminal_text::clean(command_line)
        << "' (expected nothing, 'message' or 'open:NUMBER')\n";
    return 2;
}

int TerminalView::show_chat_list(std::ostream& out, std::ostream& err) {
    err << "Quillmo: the window is not built yet; this is the terminal view of the chat list.\n";
    ChatModel model;
    model.start();
    {
        ProgressLine progress(err);
        model.load(&progress);
    }
    ChatListing::write_text(ChatListing::rows(model), out);
    return 0;
}

int TerminalView::show_alert(std::ostream& out, std::ostream&) {
    // Message mode: bring the chats up to date and show the newest unread
    // incoming message, as the alert would.
    ChatModel model;
    model.start();
    model.load(nullptr);
    std::unique_ptr<SmsRecord> message = model.take_pending_message();
    if (!message) return 0;
    model.load_sms(*message);
    const Recipient& from = message->correspondent();
    out << "New message from " << terminal_text::clean(from.name.empty() ? from.number : from.name);
    if (!from.name.empty()) out << " <" << terminal_text::clean(from.number) << ">";
    out << ", " << terminal_text::clean(message->date_text()) << " "
        << terminal_text::clean(message->time_text()) << ":\n"
        << terminal_text::clean(message->body(), terminal_text::LineBreaks::Keep) << "\n";
    return 0;
}

int TerminalView::show_chat(const std::u16string& number, std::ostream& out, std::ostream& err) {
    ChatModel model;
    model.start();
    model.load(nullptr);
    std::u16string key = chat_key(number);
    Chat* chat = model.find_chat(key.empty() ? number : key);
    if (chat == nullptr) {
        err << "quillmo: no chat with " << terminal_text::clean(number) << "\n";
        return 1;
    }
    out << terminal_text::clean(chat->name.empty() ? chat->number : chat->name);
    if (!chat->name.empty()) out << " <" << terminal_text::clean(chat->number) << ">";
    out << "\n";
    std::u16string day;
    for (size_t i = 0; i < chat->size(); ++i) {
        SmsRecord& m = chat->message(i);
        if (!model.load_sms(m)) continue;
        if (m.date_text() != day) {
            day = m.date_text();
            out << "\n  -- " << terminal_text::clean(day) << " --\n";
        }
        const char* direction = m.is_report() ? "  *" : m.incoming() ? "<< " : " >>";
        out << "  " << terminal_text::clean(m.time_text()) << " " << direction << " "
            << terminal_text::clean(m.body(), terminal_text::LineBreaks::Keep) << "\n";
    }
    return 0;
}
