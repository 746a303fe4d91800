#pragma once
// Why an SQLite call failed, in the few kinds a user can act on. The message
// store and the registry tell their callers which file failed and why: a busy
// file waits for another program, a full disk or a read-only folder for the
// user, a damaged file for a repair.
#include <string>

struct SqliteFailure {
    enum class Kind {
        None,
        Busy,          // another connection held the lock for the whole busy timeout
        ReadOnly,      // the file, its folder or the file system cannot be written
        DiskFull,      // no space left on the device
        FileTooLarge,  // the process's file size limit (ulimit -f) was reached
        Damaged,       // the file is not a database, or a page of it is corrupt
        Io,            // any other input/output error
        Other,         // a misuse, a schema mismatch, out of memory, ...
    };

    Kind kind = Kind::None;
    std::string detail;  // SQLite's own words, or the system's for an I/O error

    // Classifies an (extended) SQLite result code and the system error number
    // behind it (errno of the failed read or write, 0 when none).
    static SqliteFailure of(int code, int system_errno, std::string detail);

    // The failure in words that follow a file name: "is busy: ...", "cannot be
    // written: the disk is full", ...
    std::string describe() const;
    // The kind in a word or two, for log lines of fixed text.
    const char16_t* name() const;

    explicit operator bool() const { return kind != Kind::None; }
};
