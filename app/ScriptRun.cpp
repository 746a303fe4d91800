#include "app/ScriptRun.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <sstream>

#include "app/Application.h"
#include "app/KeyTable.h"
#include "display/WindowEvent.h"
#include "draw/pictures/PngWriter.h"
#include "forms/Form.h"
#include "forms/FormStack.h"
#include "input/KeyCode.h"
#include "platform/AtomicWrite.h"
#include "platform/JsonWriter.h"
#include "platform/Log.h"
#include "platform/TerminalText.h"
#include "platform/Ticks.h"
#include "platform/Utf16.h"
#include "platform/WholeFile.h"
#include "skin/elements/Element.h"

namespace {

using Kind = ScriptRun::Command::Kind;

// The pause between the moves of a drag, and between looks for an element
// (short, so that a wait ends close to the frame that shows the element).
constexpr int64_t kMoveMs = 16;
constexpr int64_t kLookMs = 5;
// A script of more than this is not a script.
constexpr size_t kMaxScriptBytes = 4 * 1024 * 1024;
constexpr int32_t kMaxMs = 24 * 60 * 60 * 1000;

struct Syntax {
    std::string_view name;
    Kind kind;
    int numbers;  // how many integers follow
    enum class Rest { None, Word, Text, Path } rest;
    bool number_after_rest = false;  // wait-for-id ID MS
};

constexpr Syntax kSyntax[] = {
    {"tap", Kind::Tap, 2, Syntax::Rest::None},
    {"down", Kind::Down, 2, Syntax::Rest::None},
    {"move", Kind::Move, 2, Syntax::Rest::None},
    {"up", Kind::Up, 2, Syntax::Rest::None},
    {"drag", Kind::Drag, 5, Syntax::Rest::None},
    {"key", Kind::Key, 0, Syntax::Rest::Word},
    {"keydown", Kind::KeyDown, 0, Syntax::Rest::Word},
    {"keyup", Kind::KeyUp, 0, Syntax::Rest::Word},
    {"type", Kind::Type, 0, Syntax::Rest::Text},
    {"tap-id", Kind::TapId, 0, Syntax::Rest::Word},
    {"wait", Kind::Wait, 1, Syntax::Rest::None},
    {"wait-for-id", Kind::WaitForId, 0, Syntax::Rest::Word, true},
    {"shot", Kind::Shot, 0, Syntax::Rest::Path},
    {"dump", Kind::Dump, 0, Syntax::Rest::Path},
    {"quit", Kind::Quit, 0, Syntax::Rest::None},
};

std::vector<std::string_view> words_of(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool parse_int(std::string_view word, int32_t& out) {
    auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), out);
    return ec == std::errc() && end == word.data() + word.size();
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The checked command of one line; throws ScriptError.
ScriptRun::Command parse_line(std::string_view line, int number, const std::string& name) {
    auto error = [&](const std::string& what) {
        return ScriptError(name + " line " + std::to_string(number) + ": " + what);
    };
    std::vector<std::string_view> words = words_of(line);
    std::string_view verb = words.front();
    const Syntax* syntax = nullptr;
    for (const Syntax& s : kSyntax)
        if (s.name == verb) syntax = &s;
    if (!syntax) throw error("unknown command \"" + terminal_text::clean_utf8(verb) + "\"");

    ScriptRun::Command command{syntax->kind, number};
    std::string usage = std::string(syntax->name);
    size_t expected = 1 + static_cast<size_t>(syntax->numbers) +
                      (syntax->rest == Syntax::Rest::Word ? 1 : 0) +
                      (syntax->number_after_rest ? 1 : 0);
    if (syntax->rest == Syntax::Rest::Text || syntax->rest == Syntax::Rest::Path) {
        std::string_view rest = trim(line.substr(line.find(verb) + verb.size()));
        if (rest.empty()) throw error(usage + " needs an argument");
        if (syntax->rest == Syntax::Rest::Text) {
            command.text = utf16::from_utf8(rest);
        } else {
            command.path = std::string(rest);
        }
        return command;
    }
    if (words.size() != expected)
        throw error("\"" + usage + "\" takes " + std::to_string(expected - 1) + " argument" +
                    (expected == 2 ? "" : "s"));
    size_t at = 1;
    if (syntax->rest == Syntax::Rest::Word) {
        command.text = utf16::from_utf8(words[at++]);
        if (syntax->kind == Kind::Key || syntax->kind == Kind::KeyDown ||
            syntax->kind == Kind::KeyUp) {
            if (!key_codes::from_name(command.text))
                throw error("unknown key \"" + terminal_text::clean_utf8(words[1]) + "\"");
        }
    }
    int count = syntax->numbers + (syntax->number_after_rest ? 1 : 0);
    for (int i = 0; i < count; ++i) {
        if (!parse_int(words[at], command.numbers[i]))
            throw error("\"" + terminal_text::clean_utf8(words[at]) + "\" is not a whole number");
        ++at;
    }
    bool has_ms =
        syntax->kind == Kind::Drag || syntax->kind == Kind::Wait || syntax->kind == Kind::WaitForId;
    if (has_ms) {
        int32_t ms = command.numbers[count - 1];
        if (ms < 0 || ms > kMaxMs)
            throw error("a time must lie between 0 and " + std::to_string(kMaxMs) + " ms");
    }
    return command;
}

WindowEvent pointer_event(WindowEvent::Kind kind, int32_t x, int32_t y) {
    WindowEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    return event;
}

WindowEvent key_event(WindowEvent::Kind kind, std::u16string_view name) {
    WindowEvent event;
    event.kind = kind;
    KeyCode code = *key_codes::from_name(name);
    if (auto virtual_key = KeyTable::virtual_key_for(code))
        event.virtual_key = *virtual_key;
    else
        event.forced_code = static_cast<int32_t>(code);
    return event;
}

void write_element(JsonWriter& json, const Element& element) {
    json.begin_object();
    json.key("kind");
    json.value(element.kind_name());
    json.key("id");
    json.value(element.id());
    Rect rect = element.rect();
    json.key("x");
    json.value(int64_t{rect.left});
    json.key("y");
    json.value(int64_t{rect.top});
    json.key("width");
    json.value(int64_t{rect.right - rect.left});
    json.key("height");
    json.value(int64_t{rect.bottom - rect.top});
    if (const std::u16string* text = element.shown_text()) {
        json.key("text");
        json.value(*text);
    }
    json.key("children");
    json.begin_array();
    for (size_t i = 0; i < element.child_count(); ++i) {
        const Element& child = *element.child(i);
        if (child.effectively_visible()) write_element(json, child);
    }
    json.end_array();
    json.end_object();
}

}  // namespace

ScriptRun::ScriptRun(std::vector<Command> commands, std::string name)
    : commands_(std::move(commands)), name_(std::move(name)), due_(ticks::now_ms()) {}

std::unique_ptr<ScriptRun> ScriptRun::load(const std::string& path) {
    std::string bytes;
    std::string error;
    switch (WholeFile::read(path, kMaxScriptBytes, bytes, &error)) {
        case WholeFile::Status::Ok:
            return parse(bytes, path);
        case WholeFile::Status::Missing:
            throw ScriptError("no script " + path);
        case WholeFile::Status::Failed:
            break;
    }
    throw ScriptError("cannot read the script " + path + ": " + error);
}

std::unique_ptr<ScriptRun> ScriptRun::parse(std::string_view text, const std::string& name) {
    std::vector<Command> commands;
    int number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        std::string_view content = trim(line);
        if (content.empty() || content.front() == '#') continue;
        if (content.find('\0') != std::string_view::npos)
            throw ScriptError(name + " line " + std::to_string(number) + ": a zero byte");
        commands.push_back(parse_line(content, number, name));
    }
    return std::unique_ptr<ScriptRun>(new ScriptRun(std::move(commands), name));
}

std::optional<int64_t> ScriptRun::next_step_due() const {
    if (finished()) return std::nullopt;
    return due_;
}

void ScriptRun::advance(int64_t now) {
    ++next_;
    started_.reset();
    due_ = now;
}

void ScriptRun::fail(Application& app, const Command& command, const std::string& what) {
    std::string line = name_ + " line " + std::to_string(command.line) + ": " + what;
    std::cerr << "quillmo: " << line << "\n";
    log() << u"Script failed: " << line << u"\n";
    next_ = commands_.size();
    app.quit(1);
}

void ScriptRun::step(Application& app) {
    if (finished()) return;
    int64_t now = ticks::now_ms();
    run_command(app, commands_[next_], now);
}

Element* ScriptRun::find_visible(Application& app, std::u16string_view id) {
    Form* top = app.form_stack().top();
    if (!top) return nullptr;
    Element* found = top->id() == id ? top : top->find_element(id);
    if (!found || !found->effectively_visible()) return nullptr;
    // Hidden further up counts as hidden.
    for (Element* e = found; e; e = e->parent())
        if (!e->visible()) return nullptr;
    return found;
}

std::string ScriptRun::dump_json(Application& app) {
    std::string out;
    JsonWriter json(out);
    json.begin_array(true);
    for (const auto& entry : app.form_stack().entries()) {
        json.begin_object();
        json.key("overlay");
        json.value_bool(entry.overlay);
        json.key("form");
        write_element(json, *entry.form);
        json.end_object();
    }
    json.end_array();
    out += '\n';
    return out;
}

bool ScriptRun::step_drag(Application& app, const Command& command, int64_t now) {
    const int32_t* n = command.numbers;
    Window& window = app.game().window();
    if (!started_) {
        started_ = now;
        window.inject(pointer_event(WindowEvent::Kind::ButtonDown, n[0], n[1]));
        due_ = now + kMoveMs;
        return false;
    }
    double t = n[4] > 0 ? static_cast<double>(now - *started_) / n[4] : 1.0;
    if (t >= 1.0) {
        window.inject(pointer_event(WindowEvent::Kind::PointerMove, n[2], n[3]));
        window.inject(pointer_event(WindowEvent::Kind::ButtonUp, n[2], n[3]));
        return true;
    }
    auto at = [t](int32_t a, int32_t b) { return static_cast<int32_t>(a + (b - a) * t); };
    window.inject(pointer_event(WindowEvent::Kind::PointerMove, at(n[0], n[2]), at(n[1], n[3])));
    due_ = now + kMoveMs;
    return false;
}

void ScriptRun::run_command(Application& app, const Command& command, int64_t now) {
    Window& window = app.game().window();
    const int32_t* n = command.numbers;
    switch (command.kind) {
        case Kind::Tap:
            window.inject(pointer_event(WindowEvent::Kind::ButtonDown, n[0], n[1]));
            window.inject(pointer_event(WindowEvent::Kind::ButtonUp, n[0], n[1]));
            break;
        case Kind::Down:
            window.inject(pointer_event(WindowEvent::Kind::ButtonDown, n[0], n[1]));
            break;
        case Kind::Move:
            window.inject(pointer_event(WindowEvent::Kind::PointerMove, n[0], n[1]));
            break;
        case Kind::Up:
            window.inject(pointer_event(WindowEvent::Kind::ButtonUp, n[0], n[1]));
            break;
        case Kind::Drag:
            if (!step_drag(app, command, now)) return;
            break;
        case Kind::Key:
            window.inject(key_event(WindowEvent::Kind::KeyDown, command.text));
            window.inject(key_event(WindowEvent::Kind::KeyUp, command.text));
            break;
        case Kind::KeyDown:
            window.inject(key_event(WindowEvent::Kind::KeyDown, command.text));
            break;
        case Kind::KeyUp:
            window.inject(key_event(WindowEvent::Kind::KeyUp, command.text));
            break;
        case Kind::Type: {
            WindowEvent event;
            event.kind = WindowEvent::Kind::Char;
            event.text = command.text;
            window.inject(std::move(event));
            break;
        }
        case Kind::TapId: {
            Element* element = find_visible(app, command.text);
            if (!element)
                return fail(app, command,
                            "no visible element \"" + terminal_text::clean(command.text) +
                                "\" on the top form");
            Rect rect = element->rect();
            int32_t x = rect.left + (rect.right - rect.left) / 2;
            int32_t y = rect.top + (rect.bottom - rect.top) / 2;
            window.inject(pointer_event(WindowEvent::Kind::ButtonDown, x, y));
            window.inject(pointer_event(WindowEvent::Kind::ButtonUp, x, y));
            break;
        }
        case Kind::Wait:
            if (!started_) {
                started_ = now;
                due_ = now + n[0];
                return;
            }
            break;
        case Kind::WaitForId:
            if (!started_) started_ = now;
            if (!find_visible(app, command.text)) {
                if (now - *started_ >= n[0])
                    return fail(app, command,
                                "no visible element \"" + terminal_text::clean(command.text) +
                                    "\" after " + std::to_string(n[0]) + " ms");
                due_ = now + kLookMs;
                return;
            }
            break;
        case Kind::Shot: {
            app.pump();
            const PixelBuffer* frame = app.game().last_frame();
            std::string error;
            if (!frame) return fail(app, command, "nothing has been shown yet");
            if (!PngWriter::write(*frame, command.path, &error)) return fail(app, command, error);
            break;
        }
        case Kind::Dump: {
            app.pump();
            std::string error;
            if (!write_file_atomically(command.path, dump_json(app), 0644, &error))
                return fail(app, command, error);
            break;
        }
        case Kind::Quit:
            app.quit(0);
            break;
    }
    advance(ticks::now_ms());
}
