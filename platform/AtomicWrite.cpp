#include "platform/AtomicWrite.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

mode_t current_umask() {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

}  // namespace

bool write_file_atomically(const std::string& path, std::string_view content, mode_t mode,
                           std::string* error) {
    std::string temp = path + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        *error = "cannot create " + temp + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const char* what) {
        *error = std::string("cannot ") + what + " " + path + ": " + std::strerror(errno);
        if (fd >= 0) close(fd);
        unlink(temp.c_str());
        return false;
    };
    const char* p = content.data();
    size_t left = content.size();
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("write");
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (fchmod(fd, mode & ~current_umask()) != 0) return fail("set the permissions of");
    if (fsync(fd) != 0) return fail("sync");
    int closed = close(fd);
    fd = -1;
    if (closed != 0) return fail("close");
    if (rename(temp.c_str(), path.c_str()) != 0) return fail("replace");
    return true;
}
