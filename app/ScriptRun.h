#pragma once
// A scripted run: the commands of a file, one a line, played against the
// program's own event loop. Pointer, key and text commands become window
// events, exactly as a user's would; `shot` writes the frame the program last
// presented as a PNG, `dump` the form stack as JSON.
//
//   tap X Y | down X Y | move X Y | up X Y | drag X1 Y1 X2 Y2 MS
//   key NAME | keydown NAME | keyup NAME     (program key names: Left, SOFT_LEFT, ...)
//   type TEXT | tap-id ID | wait MS | wait-for-id ID MS
//   shot FILE.png | dump FILE.json | quit
//
// Blank lines and lines starting with "#" are skipped. The whole file is
// checked before anything runs: an unknown command or a bad argument is a
// ScriptError naming the file and line. A command that fails while running
// (no element with that id, a wait that runs out, a file that cannot be
// written) ends the program with one line on stderr and status 1.
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class Application;
class Element;

class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ScriptRun {
public:
    // Reads and checks the script at path.
    static std::unique_ptr<ScriptRun> load(const std::string& path);
    // Checks text; name appears in the messages.
    static std::unique_ptr<ScriptRun> parse(std::string_view text, const std::string& name);

    // The tick at which the next step wants to run; nothing once every
    // command has run.
    std::optional<int64_t> next_step_due() const;
    // Runs the next command, or the next stretch of a command that takes
    // time (a drag's next move, another look for an element).
    void step(Application& app);
    bool finished() const { return next_ >= commands_.size(); }

    // The visible element with that id on the top form, or null.
    static Element* find_visible(Application& app, std::u16string_view id);
    // The form stack as the dump command writes it.
    static std::string dump_json(Application& app);

    struct Command {
        enum class Kind {
            Tap,
            Down,
            Move,
            Up,
            Drag,
            Key,
            KeyDown,
            KeyUp,
            Type,
            TapId,
            Wait,
            WaitForId,
            Shot,
            Dump,
            Quit
        };
        Kind kind;
        int line = 0;
        int32_t numbers[5] = {};
        std::u16string text;  // key name, typed text, element id
        std::string path;     // shot and dump
    };

private:
    ScriptRun(std::vector<Command> commands, std::string name);
    void run_command(Application& app, const Command& command, int64_t now);
    bool step_drag(Application& app, const Command& command, int64_t now);
    void fail(Application& app, const Command& command, const std::string& what);
    void advance(int64_t now);

    std::vector<Command> commands_;
    std::string name_;
    size_t next_ = 0;
    int64_t due_ = 0;
    // Set while a command that takes time is under way.
    std::optional<int64_t> started_;
};
