#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "platform/UniqueFd.h"

template <class Resize>
WholeFile::Status WholeFile::read_into(const std::string& path, size_t max_size, Resize resize,
                                       size_t* done, std::string* error) {
    *done = 0;
    std::string ignored;
    if (error == nullptr) error = &ignored;
    // A zero byte would cut the path short and name another file.
    if (path.find('\0') != std::string::npos) {
        *error = "bad path";
        return Status::Failed;
    }
    // O_NONBLOCK: opening a FIFO for reading would wait for a writer.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (!fd) {
        if (errno == ENOENT) return Status::Missing;
        *error = std::strerror(errno);
        return Status::Failed;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        *error = std::strerror(errno);
        return Status::Failed;
    }
    if (!S_ISREG(st.st_mode)) {
        *error = S_ISDIR(st.st_mode) ? "a folder, not a file" : "not a regular file";
        return Status::Failed;
    }
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > max_size) {
        *error = too_large_text(max_size);
        return Status::Failed;
    }
    size_t size = static_cast<size_t>(st.st_size);
    char* data = resize(size);
    while (*done < size) {
        ssize_t n = ::read(fd.get(), data + *done, size - *done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            *error = std::strerror(errno);
            return Status::Failed;
        }
        if (n == 0) break;  // shrank while being read
        *done += static_cast<size_t>(n);
    }
    return Status::Ok;
}

WholeFile::Status WholeFile::read(const std::string& path, size_t max_size, std::string& bytes,
                                  std::string* error) {
    size_t done = 0;
    Status status = read_into(
        path, max_size,
        [&](size_t n) {
            bytes.resize(n);
            return bytes.data();
        },
        &done, error);
    bytes.resize(status == Status::Ok ? done : 0);
    return status;
}

WholeFile::Status WholeFile::read(const std::string& path, size_t max_size,
                                  std::vector<uint8_t>& bytes, std::string* error) {
    size_t done = 0;
    Status status = read_into(
        path, max_size,
        [&](size_t n) {
            bytes.resize(n);
            return reinterpret_cast<char*>(bytes.data());
        },
        &done, error);
    bytes.resize(status == Status::Ok ? done : 0);
    return status;
}

std::string WholeFile::too_large_text(size_t max_size) {
    if (max_size >= (size_t{1} << 20) && max_size % (size_t{1} << 20) == 0)
        return "larger than " + std::to_string(max_size >> 20) + " MB";
    if (max_size >= 1024 && max_size % 1024 == 0)
        return "larger than " + std::to_string(max_size >> 10) + " KB";
    return "larger than " + std::to_string(max_size) + " bytes";
}
