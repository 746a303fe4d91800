#pragma once
// Reading a whole file into memory, the one way every reader of outside files
// does it. Only a regular file of at most max_size bytes is read: a FIFO, a
// device (/dev/zero) or a directory with a fitting name is refused without
// blocking, and a stray huge file cannot make the reader allocate without
// bound.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class WholeFile {
public:
    enum class Status {
        Ok,       // bytes hold the whole file
        Missing,  // there is no such file (ENOENT); callers often stay silent
        Failed,   // anything else; *error says what, in one line without the path
    };

    // Reads the file at path (UTF-8, as the file system takes it). On Ok,
    // bytes hold its content; otherwise bytes are empty. A file that shrinks
    // while it is read yields what was there; one that grows yields the size
    // seen at the start.
    static Status read(const std::string& path, size_t max_size, std::string& bytes,
                       std::string* error);
    static Status read(const std::string& path, size_t max_size, std::vector<uint8_t>& bytes,
                       std::string* error);

    // "larger than 32 MB", "larger than 512 KB", "larger than 100 bytes": the
    // words of the refusal of a file above max_size.
    static std::string too_large_text(size_t max_size);

private:
    // Reads into storage obtained from resize(n), which returns where n bytes
    // may be written; returns the number of bytes read.
    template <class Resize>
    static Status read_into(const std::string& path, size_t max_size, Resize resize, size_t* done,
                            std::string* error);
};
