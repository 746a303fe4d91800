#include "platform/Paths.h"

#include <unicode/unistr.h>
#include <unistd.h>

#include <array>
#include <cstdlib>

#include "platform/Log.h"
#include "platform/Utf16.h"

namespace paths {
namespace {

constexpr size_t kMaxPath = 1024;

bool is_separator(char16_t c) { return c == u'/' || c == u'\\'; }

std::u16string drop_trailing_separator(std::u16string path) {
    if (!path.empty() && is_separator(path.back())) path.pop_back();
    return path;
}

std::u16string env_path(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') return {};
    return utf16::from_utf8(value);
}

// The executable's own path never changes during a run; it is read once.
const std::u16string& executable_path() {
    static const std::u16string path = [] {
        std::array<char, 4096> buffer{};
        ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
        if (n <= 0) return std::u16string(u"quillmo");
        return utf16::from_utf8(std::string_view(buffer.data(), static_cast<size_t>(n)));
    }();
    return path;
}

// The handset's special folders live inside the device folder, laid out as on
// the handset itself.
std::u16string special_folder(std::u16string_view macro) {
    struct Entry {
        std::u16string_view macro;
        std::u16string_view folder;
    };
    static constexpr Entry kFolders[] = {
        {u"%my_documents%", u"/My Documents"},     {u"%windows%", u"/Windows"},
        {u"%startup%", u"/Windows/StartUp"},       {u"%programs%", u"/Windows/Start Menu/Programs"},
        {u"%start_menu%", u"/Windows/Start Menu"}, {u"%program_files%", u"/Program Files"},
    };
    for (const Entry& e : kFolders)
        if (e.macro == macro) return device_folder() + std::u16string(e.folder);
    return {};
}

}  // namespace

std::u16string get_app_path() {
    std::u16string path;
    std::u16string home = drop_trailing_separator(env_path("QUILLMO_HOME"));
    if (!home.empty())
        path = home + u"/" + file_part(executable_path());
    else
        path = executable_path();
    if (path.size() >= kMaxPath) fatal(u"path is more then MAX_PATH long", u"get_app_path()");
    return path;
}

std::u16string expand(std::u16string_view path) {
    static constexpr std::u16string_view kMacros[] = {
        u"%app_full_name%", u"%app_path%", u"%app_name%",   u"%my_documents%",  u"%windows%",
        u"%startup%",       u"%programs%", u"%start_menu%", u"%program_files%",
    };
    std::u16string out;
    for (std::u16string_view macro : kMacros) {
        if (!path.starts_with(macro)) continue;
        if (macro == u"%app_full_name%")
            out = get_app_path();
        else if (macro == u"%app_path%")
            out = drop_trailing_separator(folder_part(get_app_path()));
        else if (macro == u"%app_name%")
            out = file_part(get_app_path());
        else
            out = special_folder(macro);
        path.remove_prefix(macro.size());
        break;
    }
    out.reserve(out.size() + path.size());
    for (char16_t c : path) out.push_back(is_separator(c) ? u'/' : c);
    return out;
}

std::u16string expand_folder(std::u16string_view path) {
    return drop_trailing_separator(expand(path));
}

std::u16string folder_part(std::u16string_view path) {
    size_t at = path.find_last_of(u"/\\");
    return at == std::u16string_view::npos ? std::u16string()
                                           : std::u16string(path.substr(0, at + 1));
}

std::u16string file_part(std::u16string_view path) {
    size_t at = path.find_last_of(u"/\\");
    return at == std::u16string_view::npos ? std::u16string(path)
                                           : std::u16string(path.substr(at + 1));
}

std::u16string to_upper(std::u16string_view text) {
    icu::UnicodeString s(false, text.data(), static_cast<int32_t>(text.size()));
    s.toUpper();
    return std::u16string(s.getBuffer(), static_cast<size_t>(s.length()));
}

std::u16string device_folder() {
    std::u16string folder = drop_trailing_separator(env_path("QUILLMO_DEVICE"));
    if (!folder.empty()) return folder;
    std::u16string data = drop_trailing_separator(env_path("XDG_DATA_HOME"));
    if (data.empty()) data = drop_trailing_separator(env_path("HOME")) + u"/.local/share";
    return data + u"/quillmo";
}

std::string device_folder_utf8() { return utf16::to_utf8(device_folder()); }

std::string native(std::u16string_view path) { return utf16::to_utf8(path); }

}  // namespace paths
