#pragma once
// A parsed JSON document, read by a small strict reader: objects keep their
// members in file order (a repeated member name is an error), numbers must be
// integers, texts are UTF-8.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct JsonMember;

struct JsonValue {
    enum class Type { null, boolean, number, string, array, object };
    Type type = Type::null;
    bool boolean = false;
    int64_t number = 0;
    std::string text;
    std::vector<JsonValue> items;
    std::vector<JsonMember> members;

    // The member of that name, or null.
    const JsonValue* find(std::string_view name) const;

    // Parses the whole of text; on failure returns nothing and sets *error to
    // "line N: what".
    static std::optional<JsonValue> parse(std::string_view text, std::string* error);
};

// A member of an object: its name and value.
struct JsonMember {
    std::string first;
    JsonValue second;
};
