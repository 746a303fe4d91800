#include "platform/SqliteFailure.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstring>

#include "platform/SqliteDatabase.h"

namespace {

using Kind = SqliteFailure::Kind;

// The system's reason behind a failed read or write. SQLite reports a write
// that hit the file size limit as a plain I/O error, and one that ran out of
// space after a short write as a full disk: the error number tells them apart.
Kind kind_of_errno(int system_errno, Kind otherwise) {
    switch (system_errno) {
        case EFBIG:
            return Kind::FileTooLarge;
        case ENOSPC:
        case EDQUOT:
            return Kind::DiskFull;
        case EROFS:
        case EACCES:
        case EPERM:
            return Kind::ReadOnly;
        default:
            return otherwise;
    }
}

}  // namespace

SqliteFailure SqliteFailure::of(int code, int system_errno, std::string detail) {
    SqliteFailure f;
    f.detail = std::move(detail);
    switch (code & 0xFF) {
        case SQLITE_OK:
        case SQLITE_ROW:
        case SQLITE_DONE:
            f.kind = Kind::None;
            return f;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            f.kind = Kind::Busy;
            return f;
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            f.kind = Kind::Damaged;
            return f;
        case SQLITE_READONLY:
        case SQLITE_PERM:
            f.kind = kind_of_errno(system_errno, Kind::ReadOnly);
            break;
        case SQLITE_FULL:
            f.kind = kind_of_errno(system_errno, Kind::DiskFull);
            break;
        case SQLITE_IOERR:
        case SQLITE_CANTOPEN:
            f.kind = kind_of_errno(system_errno, Kind::Io);
            break;
        default:
            f.kind = Kind::Other;
            return f;
    }
    // The system's words say more than SQLite's "disk I/O error".
    if (system_errno != 0) f.detail = std::strerror(system_errno);
    return f;
}

std::string SqliteFailure::describe() const {
    switch (kind) {
        case Kind::None:
            return "has no error";
        case Kind::Busy:
            return "is busy: another program kept it locked for " +
                   std::to_string(SqliteDatabase::kBusyTimeout.count() / 1000) + " s";
        case Kind::ReadOnly:
            return "cannot be written (" + detail + ")";
        case Kind::DiskFull:
            return "cannot be written: the disk is full";
        case Kind::FileTooLarge:
            return "cannot be written: the file size limit (ulimit -f) is reached";
        case Kind::Damaged:
            return "is damaged (" + detail + ")";
        case Kind::Io:
            return "cannot be read or written (" + detail + ")";
        case Kind::Other:
            break;
    }
    return "failed (" + detail + ")";
}

const char16_t* SqliteFailure::name() const {
    switch (kind) {
        case Kind::None:
            return u"no error";
        case Kind::Busy:
            return u"busy";
        case Kind::ReadOnly:
            return u"read-only";
        case Kind::DiskFull:
            return u"disk full";
        case Kind::FileTooLarge:
            return u"file too large";
        case Kind::Damaged:
            return u"damaged";
        case Kind::Io:
            return u"I/O error";
        case Kind::Other:
            break;
    }
    return u"error";
}
