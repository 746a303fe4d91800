#include "platform/Shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/Registry.h"
#include "platform/TerminalText.h"
#include "platform/Utf16.h"

namespace shell {
namespace {

constexpr std::u16string_view kAppsKey = u"HKEY_LOCAL_MACHINE\\Software\\Apps\\";
constexpr std::u16string_view kBrowser = u"iexplore.exe";

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; }

bool equals_ignoring_case(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

bool is_link(std::u16string_view text) {
    for (std::u16string_view scheme : {u"http:", u"https:", u"mailto:", u"tel:"})
        if (text.size() > scheme.size() &&
            equals_ignoring_case(text.substr(0, scheme.size()), scheme))
            return true;
    return false;
}

std::u16string_view trimmed(std::u16string_view text) {
    while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
    return text;
}

// The link with every byte that RFC 3986 does not allow in a URI written as
// "%XX"; what it allows, "%" of an encoding already made among it, stays.
std::string uri_text(std::u16string_view link) {
    static constexpr std::string_view kAllowed =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-._~:/?#[]@!$&'()*+,;=%";
    std::string out;
    for (char c : utf16::to_utf8(link)) {
        if (kAllowed.find(c) != std::string_view::npos) {
            out.push_back(c);
        } else {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", static_cast<unsigned char>(c));
            out += code;
        }
    }
    return out;
}

bool is_file(const std::string& path, bool executable) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (!executable || access(path.c_str(), X_OK) == 0);
}

// Hands one link or document to the desktop's opener. who names the caller in
// the log.
bool open_with_desktop(const std::string& argument, const char* who) {
    if (argument.empty() || argument.front() == '-') {
        log() << who << ": refused a name that starts with \"-\"\n";
        return false;
    }
    std::string opener = process::find_program("xdg-open");
    if (opener.empty()) {
        log() << who << ": xdg-open not found\n";
        return false;
    }
    if (!process::spawn_detached({utf16::from_utf8(opener), utf16::from_utf8(argument)})) {
        log() << who << ": cannot start " << opener << "\n";
        return false;
    }
    return true;
}

}  // namespace

bool execute_file(std::u16string_view file, std::u16string_view parameters) {
    std::u16string expanded = paths::expand(file);
    log() << "execute_file(" << terminal_text::clean(expanded) << "} {"
          << terminal_text::clean(parameters) << ")\n";

    std::u16string_view argument = trimmed(parameters);
    if (is_link(argument)) return open_with_desktop(uri_text(argument), "execute_file");
    bool browser = equals_ignoring_case(paths::file_part(expanded), kBrowser);
    if (browser && !argument.empty() && argument.find_first_of(u" \t") == std::u16string_view::npos)
        return open_with_desktop(uri_text(u"http://" + std::u16string(argument)), "execute_file");

    std::string path = paths::native(expanded);
    if (is_file(path, true)) {
        std::vector<std::u16string> argv = process::split_command_line(parameters);
        argv.insert(argv.begin(), expanded);
        if (process::spawn_detached(argv)) return true;
        log() << "execute_file: cannot start " << terminal_text::clean(expanded) << "\n";
        return false;
    }
    if (is_link(expanded)) return open_with_desktop(uri_text(expanded), "execute_file");
    if (is_file(path, false)) return open_with_desktop(path, "execute_file");
    log() << "execute_file: no such program or document\n";
    return false;
}

bool make_call(std::u16string_view number) {
    std::string dialled;
    bool digits = false;
    for (char16_t c : number) {
        if (c >= u'0' && c <= u'9') {
            dialled.push_back(static_cast<char>(c));
            digits = true;
        } else if (c == u'+' && dialled.empty()) {
            dialled.push_back('+');
        } else if (c == u'*') {
            dialled.push_back('*');
        } else if (c == u'#') {
            dialled += "%23";  // "#" would start the URI's fragment
        }
    }
    if (!digits) {
        log() << "make_call: not a phone number\n";
        return false;
    }
    return open_with_desktop("tel:" + dialled, "make_call");
}

std::u16string installed_app_path(std::u16string_view key, std::u16string_view file) {
    std::u16string folder;
    if (!registry::read_string(std::u16string(kAppsKey) + std::u16string(key), u"InstallDir",
                               folder) ||
        folder.empty())
        return {};
    std::u16string path = paths::expand(folder + u"/" + std::u16string(file));
    return is_file(paths::native(path), false) ? path : std::u16string();
}

}  // namespace shell
