#include "platform/contacts/ContactFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

ReadResult read(const std::string& path, std::string& bytes, size_t max_size, std::string* error) {
    bytes.clear();
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT) return ReadResult::Missing;
        *error = std::strerror(errno);
        return ReadResult::Failed;
    }
    auto fail = [&](std::string why) {
        *error = std::move(why);
        close(fd);
        return ReadResult::Failed;
    };
    struct stat st;
    if (fstat(fd, &st) != 0) return fail(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return fail("not a regular file");
    if (static_cast<unsigned long long>(st.st_size) > max_size)
        return fail("larger than " + std::to_string(max_size / (1024 * 1024)) + " MB");
    // Read up to the size seen now; a file that grows meanwhile is read again
    // on its change notice.
    bytes.resize(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(std::strerror(errno));
        if (n == 0) break;  // shrank while reading
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    close(fd);
    return ReadResult::Ok;
}

}  // namespace contact_files
