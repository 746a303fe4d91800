#pragma once
// The language dictionary: every text the user reads is looked up here by key.
// It holds the pairs of one language file and the path that file was loaded
// from; a new language replaces it whole, nothing is merged.
#include <cstddef>
#include <string>
#include <string_view>

#include "lang/KeyValueFile.h"

class Dictionary {
public:
    // Reads the key/value file at path (macros expanded when read). On success
    // the file's pairs and path replace the current ones; on failure (the file
    // cannot be opened or read, or is too large) the dictionary and its path
    // stay as they were.
    bool load(std::u16string_view path);

    // The text for key, or key itself when the dictionary has none, so a
    // missing translation shows its key rather than nothing.
    std::u16string text(std::u16string_view key) const;

    // The stored text for key without copying it, or nullptr. The pointer
    // stays valid until the next successful load().
    const std::u16string* find(std::u16string_view key) const;

    // The path given to the last successful load(), as given (macros not
    // expanded); "" before the first.
    const std::u16string& path() const { return path_; }

    size_t size() const { return pairs_.size(); }
    bool empty() const { return pairs_.empty(); }

private:
    KeyValueFile::Map pairs_;
    std::u16string path_;
};
