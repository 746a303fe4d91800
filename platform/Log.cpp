#include "platform/Log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/TerminalText.h"
#include "platform/UniqueFd.h"
#include "platform/Utf16.h"

LogStream::LogStream(const std::string& path) { open_file(path); }

void LogStream::reopen(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (file_) std::fclose(file_);
    file_ = nullptr;
    has_file_ = false;
    open_file(path);
}

void LogStream::open_file(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    // O_NONBLOCK: a FIFO at the log's path would otherwise hold the open until
    // some reader came, and every process that logs would hang there. Without
    // a reader the open fails at once (ENXIO); with one, fstat refuses it.
    UniqueFd fd(::open(path.c_str(),
                       O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY | O_NONBLOCK, 0644));
    struct stat st {};
    bool regular = fd && ::fstat(fd.get(), &st) == 0 && S_ISREG(st.st_mode);
    if (!regular) {
        // A file that cannot be opened turns logging off silently; something
        // that is not a file at all is said once, on stderr, since the log is
        // what is broken.
        if (fd || errno == ENXIO) {
            std::string line = terminal_text::clean(paths::expand(u"%app_name%")) +
                               ": the log file " + terminal_text::clean_utf8(path) +
                               " is not a regular file; logging is off\n";
            (void)!::write(2, line.data(), line.size());
        }
        return;
    }
    file_ = ::fdopen(fd.get(), "ab");
    if (file_ == nullptr) return;
    fd.release();
    has_file_ = true;
    // A newly created file begins with the byte-order mark FF FE.
    if (st.st_size == 0) std::fwrite("\xFF\xFE", 1, 2, file_);
}

LogStream::~LogStream() {
    if (file_) std::fclose(file_);
}

LogStream& LogStream::operator<<(std::u16string_view text) {
    if (!has_file_ || text.empty()) return *this;
    std::string bytes;
    bytes.reserve(text.size() * 2);
    bool line_end = false;
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
        line_end |= c == u'\n';
    }
    std::lock_guard<std::mutex> guard(mutex_);
    if (!has_file_) return *this;
    std::fwrite(bytes.data(), 1, bytes.size(), file_);
    // Whole lines reach the file at once, so a crash loses at most a partial line.
    if (line_end) std::fflush(file_);
    return *this;
}

LogStream& LogStream::operator<<(std::string_view text) {
    if (!has_file_) return *this;
    return *this << std::u16string_view(utf16::from_utf8(text));
}

LogStream& LogStream::operator<<(double value) {
    if (!has_file_) return *this;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return *this << std::string_view(buffer);
}

LogStream& LogStream::write_number(long long value) {
    if (!has_file_) return *this;
    return *this << std::string_view(std::to_string(value));
}

void LogStream::flush() {
    std::lock_guard<std::mutex> guard(mutex_);
    if (file_ != nullptr) std::fflush(file_);
}

std::string log_file_path() {
    return paths::device_folder_utf8() + "/Temp/" + paths::native(paths::expand(u"%app_name%.txt"));
}

LogStream& log() {
    // One stream for the whole run, reopened in place when the setting or the
    // path changes: a thread still writing to it never meets a freed stream.
    static LogStream stream{std::string()};
    static std::mutex mutex;
    static std::string current_path;
    static bool opened = false;
    uint32_t setting = 0;
    registry::read_number(u"HKEY_CURRENT_USER\\Software\\Zelvor", u"Log", setting);
    std::string path = setting != 0 ? log_file_path() : std::string();
    std::lock_guard lock(mutex);
    if (!opened || current_path != path) {
        stream.reopen(path);
        current_path = path;
        opened = true;
    }
    return stream;
}

void fatal(std::u16string_view what, std::u16string_view where) {
    LogStream& out = log();
    out << u"Gluck: " << what << u" @ " << where << u"\n";
    out.flush();
    std::string line = "Gluck: " + utf16::to_utf8(what) + " @ " + utf16::to_utf8(where) + "\n";
    (void)!write(2, line.data(), line.size());
    // The process ends here without unwinding: its state is not trusted.
    _exit(70);
}
