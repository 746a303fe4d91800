#include "tools/skinc/JsonValue.h"

#include <stdexcept>

namespace {

class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) {}

    JsonValue document() {
        JsonValue value = parse_value(0);
        skip();
        if (at_ < text_.size()) fail("text after the document");
        return value;
    }
    int line() const {
        int n = 1;
        for (size_t i = 0; i < at_ && i < text_.size(); ++i) n += text_[i] == '\n';
        return n;
    }

private:
    [[noreturn]] void fail(const std::string& what) { throw std::runtime_error(what); }
    void skip() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool take(char c) {
        skip();
        if (at_ < text_.size() && text_[at_] == c) return ++at_, true;
        return false;
    }
    void expect(char c) {
        if (!take(c)) fail(std::string("expected '") + c + "'");
    }
    bool word(std::string_view w) {
        if (text_.substr(at_, w.size()) != w) return false;
        at_ += w.size();
        return true;
    }

    JsonValue parse_value(int depth) {
        // Nesting deeper than any skin needs is refused rather than risking the stack.
        if (depth > 200) fail("nested too deeply");
        skip();
        if (at_ >= text_.size()) fail("unexpected end");
        JsonValue v;
        char c = text_[at_];
        if (c == '{') {
            ++at_;
            v.type = JsonValue::Type::object;
            if (take('}')) return v;
            do {
                skip();
                std::string name = parse_string();
                if (v.find(name)) fail("member \"" + name + "\" repeated");
                expect(':');
                v.members.push_back({std::move(name), parse_value(depth + 1)});
            } while (take(','));
            expect('}');
        } else if (c == '[') {
            ++at_;
            v.type = JsonValue::Type::array;
            if (take(']')) return v;
            do v.items.push_back(parse_value(depth + 1));
            while (take(','));
            expect(']');
        } else if (c == '"') {
            v.type = JsonValue::Type::string;
            v.text = parse_string();
        } else if (word("true") || word("false")) {
            v.type = JsonValue::Type::boolean;
            v.boolean = text_[at_ - 1] == 'e' && text_[at_ - 2] == 'u';
        } else if (word("null")) {
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            v.type = JsonValue::Type::number;
            bool negative = take('-');
            size_t start = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') {
                if (at_ - start > 15) fail("number too large");
                v.number = v.number * 10 + (text_[at_++] - '0');
            }
            if (at_ == start) fail("bad number");
            if (at_ < text_.size() && (text_[at_] == '.' || text_[at_] == 'e' || text_[at_] == 'E'))
                fail("numbers must be integers");
            if (negative) v.number = -v.number;
        } else {
            fail("unexpected character");
        }
        return v;
    }

    unsigned hex4() {
        if (at_ + 4 > text_.size()) fail("bad \\u escape");
        unsigned value = 0;
        for (int i = 0; i < 4; ++i) {
            char h = text_[at_++];
            value <<= 4;
            if (h >= '0' && h <= '9')
                value |= h - '0';
            else if (h >= 'a' && h <= 'f')
                value |= h - 'a' + 10;
            else if (h >= 'A' && h <= 'F')
                value |= h - 'A' + 10;
            else
                fail("bad \\u escape");
        }
        return value;
    }

    static void append_utf8(std::string& out, unsigned cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | cp >> 18);
            out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    std::string parse_string() {
        if (at_ >= text_.size() || text_[at_] != '"') fail("expected a string");
        ++at_;
        std::string out;
        while (true) {
            if (at_ >= text_.size()) fail("unterminated string");
            char c = text_[at_++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) fail("control character in string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) fail("unterminated string");
            char e = text_[at_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    unsigned cp = hex4();
                    if (cp >= 0xD800 && cp < 0xDC00 && word("\\u")) {
                        unsigned low = hex4();
                        if (low < 0xDC00 || low > 0xDFFF) fail("unpaired surrogate");
                        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                    } else if (cp >= 0xD800 && cp < 0xE000) {
                        fail("unpaired surrogate");
                    }
                    append_utf8(out, cp);
                    break;
                }
                default:
                    fail("bad escape");
            }
        }
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::find(std::string_view name) const {
    for (const auto& [key, value] : members)
        if (key == name) return &value;
    return nullptr;
}

std::optional<JsonValue> JsonValue::parse(std::string_view text, std::string* error) {
    Reader reader(text);
    try {
        return reader.document();
    } catch (const std::runtime_error& e) {
        if (error) *error = "line " + std::to_string(reader.line()) + ": " + e.what();
        return std::nullopt;
    }
}
