#include "platform/AtomicWrite.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <memory>

#include "platform/UniqueFd.h"

namespace {

// The suffix mkstemp replaces: six letters or digits.
constexpr char kTempSuffix[] = ".tmp-XXXXXX";
constexpr size_t kRandomPart = 6;
// A temporary lives for the moments its writer needs; one this old was left
// by a writer that was killed, never by one still at work.
constexpr time_t kStaleAfterSeconds = 5 * 60;

mode_t current_umask() {
    mode_t mask = umask(0);
    umask(mask);
    return mask;
}

bool is_temporary_of(std::string_view entry, std::string_view prefix) {
    if (entry.size() != prefix.size() + kRandomPart || !entry.starts_with(prefix)) return false;
    for (char c : entry.substr(prefix.size()))
        if (!std::isalnum(static_cast<unsigned char>(c))) return false;
    return true;
}

// Removes the stale temporaries of this target from its folder. Only regular
// files are removed; a link or a folder with a fitting name is left alone.
void sweep_stale_temporaries(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp-";
    std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
    if (!dir) return;
    time_t now = ::time(nullptr);
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!is_temporary_of(entry->d_name, prefix)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(st.st_mode) && st.st_mtime + kStaleAfterSeconds < now)
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

}  // namespace

bool write_file_atomically(const std::string& path, std::string_view content, mode_t mode,
                           std::string* error) {
    sweep_stale_temporaries(path);
    std::string temp = path + kTempSuffix;
    UniqueFd fd(mkstemp(temp.data()));
    if (!fd) {
        *error = "cannot create " + temp + ": " + std::strerror(errno);
        return false;
    }
    auto fail = [&](const char* what) {
        *error = std::string("cannot ") + what + " " + path + ": " + std::strerror(errno);
        fd.reset();
        unlink(temp.c_str());
        return false;
    };
    const char* p = content.data();
    size_t left = content.size();
    while (left > 0) {
        ssize_t n = write(fd.get(), p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail("write");
        p += n;
        left -= static_cast<size_t>(n);
    }
    if (fchmod(fd.get(), mode & ~current_umask()) != 0) return fail("set the permissions of");
    if (fsync(fd.get()) != 0) return fail("sync");
    if (!fd.close()) return fail("close");
    if (rename(temp.c_str(), path.c_str()) != 0) return fail("replace");
    return true;
}
