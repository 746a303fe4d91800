#include "platform/contacts/ContactFiles.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace contact_files {

bool is_contact_file_name(std::string_view name) {
    if (name.size() <= 4 || name.front() == '.') return false;
    std::string_view suffix = name.substr(name.size() - 4);
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return suffix[0] == '.' && lower(suffix[1]) == 'v' && lower(suffix[2]) == 'c' &&
           lower(suffix[3]) == 'f';
}

bool list(const std::string& folder, std::vector<std::string>& names, std::string* error) {
    names.clear();
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        if (errno == ENOENT) return true;  // no contacts yet
        *error = std::strerror(errno);
        return false;
    }
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_type == DT_DIR) continue;
        std::string_view name = entry->d_name;
        if (is_contact_file_name(name)) names.emplace_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return true;
}

}  // namespace contact_files
