#include "lang/KeyValueFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/Log.h"
#include "platform/Paths.h"

namespace {

bool is_space(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f';
}

bool is_line_end(char16_t c) { return c == u'\r' || c == u'\n'; }

// Owns one file descriptor.
class FileHandle {
public:
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// The whole file, or nothing. O_NONBLOCK keeps a FIFO that happens to carry a
// matching name from blocking the open; it is then refused as not regular.
std::optional<std::vector<uint8_t>> read_whole(const std::u16string& path) {
    // A zero character would cut the path short and open another file.
    if (path.find(u'\0') != std::u16string::npos) {
        log() << u"key_value_file: bad path\n";
        return std::nullopt;
    }
    FileHandle file(::open(paths::native(path).c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (file.get() < 0) {
        if (errno != ENOENT) log() << u"key_value_file: cannot open " << path << u"\n";
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        log() << u"key_value_file: not a regular file " << path << u"\n";
        return std::nullopt;
    }
    if (static_cast<unsigned long long>(info.st_size) > KeyValueFile::kMaxFileSize) {
        log() << u"key_value_file: file too large " << path << u"\n";
        return std::nullopt;
    }
    std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::read(file.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            log() << u"key_value_file: read failed " << path << u"\n";
            return std::nullopt;
        }
        if (n == 0) break;  // the file shrank while being read: take what is there
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace

std::u16string KeyValueFile::decode(std::span<const uint8_t> bytes) {
    std::u16string text;
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {
        size_t units = (bytes.size() - 2) / 2;
        text.reserve(units);
        for (size_t i = 0; i < units; ++i)
            text.push_back(static_cast<char16_t>(bytes[2 + 2 * i] | bytes[3 + 2 * i] << 8));
    } else {
        text.assign(bytes.begin(), bytes.end());
    }
    return text;
}

KeyValueFile::Map KeyValueFile::parse_text(std::u16string_view text) {
    Map pairs;
    const size_t n = text.size();
    size_t i = 0;
    while (true) {
        while (i < n && is_space(text[i])) ++i;
        if (i == n) break;
        // Here text[i] is no white space, so each round takes at least one
        // character: a key character or the "=".
        size_t key_start = i;
        while (i < n && !is_space(text[i]) && text[i] != u'=') ++i;
        std::u16string_view key = text.substr(key_start, i - key_start);
        if (i < n && text[i] == u'=') {
            ++i;
        } else {
            while (i < n && (text[i] == u' ' || text[i] == u'\t')) ++i;
        }
        size_t value_start = i;
        while (i < n && !is_line_end(text[i])) ++i;
        if (!key.empty())
            pairs.insert_or_assign(std::u16string(key),
                                   std::u16string(text.substr(value_start, i - value_start)));
    }
    return pairs;
}

KeyValueFile::Map KeyValueFile::parse(std::span<const uint8_t> bytes) {
    return parse_text(decode(bytes));
}

std::optional<KeyValueFile::Map> KeyValueFile::load(std::u16string_view path) {
    std::optional<std::vector<uint8_t>> bytes = read_whole(paths::expand(path));
    if (!bytes) return std::nullopt;
    return parse(*bytes);
}
