#pragma once
// A registry key named by one text: a root key name, a backslash, then the
// sub-key path ("HKEY_CURRENT_USER\Software\Zelvor\Quillmo"). A text that starts
// with no known root name has no root, and every operation on it fails.
#include <string>
#include <string_view>

class RegistryPath {
public:
    RegistryPath(std::u16string_view path);  // NOLINT: paths are written as plain texts
    RegistryPath(const char16_t* path) : RegistryPath(std::u16string_view(path)) {}
    RegistryPath(const std::u16string& path) : RegistryPath(std::u16string_view(path)) {}

    bool valid() const { return !root_.empty(); }
    const std::u16string& root() const { return root_; }
    const std::u16string& sub_key() const { return sub_key_; }
    // "ROOT\sub\key", the form the registry database keys by.
    std::u16string full() const;

private:
    std::u16string root_;
    std::u16string sub_key_;
};
