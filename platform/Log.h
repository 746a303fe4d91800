#pragma once
// The program's text log. Callers write in pieces (a label, a value, a line end);
// the log adds no time stamp. It goes to "<device>/Temp/<executable name>.txt",
// UTF-16LE with a byte-order mark, only while the registry value "Log" under
// HKEY_CURRENT_USER\Software\Zelvor is non-zero; otherwise writes are discarded.
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

class LogStream {
public:
    // A file stream appending to path, or a null stream when path is empty or
    // the file cannot be opened. Only a regular file is opened: a FIFO, a
    // device or a folder at the path is refused without blocking (one line
    // on stderr says so) and the stream discards everything.
    explicit LogStream(const std::string& path);
    ~LogStream();
    LogStream(const LogStream&) = delete;
    LogStream& operator=(const LogStream&) = delete;

    bool is_file() const { return has_file_; }
    // Closes the file and opens path in its place (empty: discard). Safe while
    // other threads write: their writes go to one file or the other.
    void reopen(const std::string& path);

    LogStream& operator<<(std::u16string_view text);
    LogStream& operator<<(const char16_t* text) { return *this << std::u16string_view(text); }
    LogStream& operator<<(const std::u16string& text) { return *this << std::u16string_view(text); }
    // 8-bit text is taken as UTF-8.
    LogStream& operator<<(std::string_view text);
    LogStream& operator<<(const char* text) { return *this << std::string_view(text); }
    LogStream& operator<<(const std::string& text) { return *this << std::string_view(text); }
    LogStream& operator<<(char16_t c) { return *this << std::u16string_view(&c, 1); }
    LogStream& operator<<(bool value) { return *this << (value ? u"1" : u"0"); }
    LogStream& operator<<(int value) { return write_number(value); }
    LogStream& operator<<(long value) { return write_number(value); }
    LogStream& operator<<(long long value) { return write_number(value); }
    LogStream& operator<<(unsigned value) { return write_number(value); }
    LogStream& operator<<(unsigned long value) {
        return write_number(static_cast<long long>(value));
    }
    LogStream& operator<<(unsigned long long value) {
        return write_number(static_cast<long long>(value));
    }
    LogStream& operator<<(double value);

    void flush();

private:
    LogStream& write_number(long long value);
    // Opens path; the caller holds mutex_ (or is the constructor).
    void open_file(const std::string& path);

    std::mutex mutex_;
    FILE* file_ = nullptr;
    std::atomic<bool> has_file_{false};
};

// The log stream of this process. Reads the "Log" setting at every call and
// replaces the stream when the setting changed, so logging can be switched on
// and off while the program runs.
LogStream& log();

// Path of the log file for this process ("<device>/Temp/<app name>.txt").
std::string log_file_path();

// Writes "Gluck: <what> @ <where>" to the log (and to stderr), flushes, and ends
// the process at once with exit status 70. For states the program does not
// recover from; never returns.
[[noreturn]] void fatal(std::u16string_view what, std::u16string_view where);
