#include "lang/Dictionary.h"

#include <optional>
#include <utility>

bool Dictionary::load(std::u16string_view path) {
    std::optional<KeyValueFile::Map> pairs = KeyValueFile::load(path);
    if (!pairs) return false;
    pairs_ = std::move(*pairs);
    path_ = std::u16string(path);
    return true;
}

std::u16string Dictionary::text(std::u16string_view key) const {
    const std::u16string* found = find(key);
    return found != nullptr ? *found : std::u16string(key);
}

const std::u16string* Dictionary::find(std::u16string_view key) const {
    auto it = pairs_.find(key);
    return it == pairs_.end() ? nullptr : &it->second;
}
