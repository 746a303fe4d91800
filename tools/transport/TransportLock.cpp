#include "tools/transport/TransportLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

TransportLock::Outcome TransportLock::take(const std::string& device_folder,
                                           std::optional<TransportLock>& lock, long& holder_pid,
                                           std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(device_folder, ec);
    std::string path = device_folder + "/transport.lock";
    // O_NONBLOCK: a FIFO planted at the path must not stall the open.
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW, 0600));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error)
            *error = path + ": " + (fd ? std::string("not a regular file") : std::strerror(errno));
        return Outcome::Failed;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
        if (errno != EWOULDBLOCK) {
            if (error) *error = path + ": " + std::strerror(errno);
            return Outcome::Failed;
        }
        char text[32] = {};
        ssize_t n = ::pread(fd.get(), text, sizeof text - 1, 0);
        holder_pid = n > 0 ? std::strtol(text, nullptr, 10) : 0;
        return Outcome::Held;
    }
    // The pid is only for the user's eyes (and the line of a second daemon);
    // the lock holds without it.
    std::string pid = std::to_string(::getpid()) + "\n";
    bool noted = ::ftruncate(fd.get(), 0) == 0 &&
                 ::pwrite(fd.get(), pid.data(), pid.size(), 0) == static_cast<ssize_t>(pid.size());
    (void)noted;
    lock.emplace(TransportLock(std::move(fd)));
    return Outcome::Taken;
}
