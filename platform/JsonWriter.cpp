#include "platform/JsonWriter.h"

#include <cstdio>

#include "platform/Utf16.h"

void JsonWriter::separate() {
    if (after_key_) {
        after_key_ = false;
        return;
    }
    if (levels_.empty()) return;
    Level& level = levels_.back();
    if (level.has_member) out_ += ',';
    if (level.one_per_line) out_ += '\n';
    level.has_member = true;
}

void JsonWriter::begin_object() {
    separate();
    out_ += '{';
    levels_.push_back({});
}

void JsonWriter::end_object() {
    levels_.pop_back();
    out_ += '}';
}

void JsonWriter::begin_array(bool one_per_line) {
    separate();
    out_ += '[';
    levels_.push_back({false, one_per_line});
}

void JsonWriter::end_array() {
    if (levels_.back().one_per_line && levels_.back().has_member) out_ += '\n';
    levels_.pop_back();
    out_ += ']';
}

void JsonWriter::key(std::string_view name) {
    separate();
    quote(out_, name);
    out_ += ':';
    after_key_ = true;
}

void JsonWriter::value(std::u16string_view text) { value_utf8(utf16::to_utf8(text)); }

void JsonWriter::value_utf8(std::string_view text) {
    separate();
    quote(out_, text);
}

void JsonWriter::value(int64_t number) {
    separate();
    out_ += std::to_string(number);
}

void JsonWriter::value_bool(bool flag) {
    separate();
    out_ += flag ? "true" : "false";
}

void JsonWriter::null() {
    separate();
    out_ += "null";
}

void JsonWriter::quote(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
                    out += escape;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}
