#pragma once
// A small streaming JSON writer for the tools' machine-readable output. Texts
// are written as UTF-8 with the escapes JSON requires (quote, backslash and
// every control character); other characters are written as they are.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    explicit JsonWriter(std::string& out) : out_(out) {}

    void begin_object();
    void end_object();
    // An array whose elements each start on a line of their own, for output
    // that people read and line tools filter.
    void begin_array(bool one_per_line = false);
    void end_array();
    // The name of the next member of the current object.
    void key(std::string_view name);
    void value(std::u16string_view text);
    void value_utf8(std::string_view text);
    void value(int64_t number);
    void value_bool(bool flag);
    void null();

    // Appends text (UTF-8) as a quoted JSON string.
    static void quote(std::string& out, std::string_view text);

private:
    void separate();

    std::string& out_;
    struct Level {
        bool has_member = false;
        bool one_per_line = false;
    };
    std::vector<Level> levels_;
    bool after_key_ = false;
};
