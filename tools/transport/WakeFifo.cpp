#include "tools/transport/WakeFifo.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

std::string fifo_path(const std::string& device_folder) {
    return device_folder + "/transport.wake";
}

}  // namespace

std::optional<WakeFifo> WakeFifo::listen(const std::string& device_folder, std::string* error) {
    std::string path = fifo_path(device_folder);
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && !S_ISFIFO(st.st_mode)) ::unlink(path.c_str());
    if (::mkfifo(path.c_str(), 0600) != 0 && errno != EEXIST) {
        if (error) *error = path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    // Read and write: the daemon is a writer itself, so the FIFO never
    // reports a hang-up when a waker closes it.
    UniqueFd fd(::open(path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISFIFO(st.st_mode)) {
        if (error) *error = path + ": " + (fd ? std::string("not a FIFO") : std::strerror(errno));
        return std::nullopt;
    }
    return WakeFifo(std::move(fd));
}

bool WakeFifo::wake(const std::string& device_folder) {
    // Without a reader the open fails (ENXIO) instead of blocking.
    UniqueFd fd(
        ::open(fifo_path(device_folder).c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC | O_NOFOLLOW));
    struct stat st {};
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISFIFO(st.st_mode)) return false;
    char byte = 1;
    // A full FIFO holds wake-ups enough.
    return ::write(fd.get(), &byte, 1) == 1 || errno == EAGAIN;
}

void WakeFifo::drain() {
    char buffer[256];
    while (::read(fd_.get(), buffer, sizeof buffer) > 0) {
    }
}
