#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cerrno>
#include <filesystem>

#include "platform/SqliteDatabase.h"
#include "support/Contains.h"
#include "support/DamageTable.h"
#include "support/TestDevice.h"

namespace {

using Kind = SqliteFailure::Kind;

std::unique_ptr<SqliteDatabase> open(const TestDevice& device) {
    std::string error;
    auto db = SqliteDatabase::open((device.device() / "test.db").string(), &error);
    EXPECT_TRUE(db) << error;
    return db;
}

TEST(SqliteDatabase, AStatementThatFailsToPrepareIsAnErrorWithItsReason) {
    TestDevice device;
    auto db = open(device);
    // Twice: the cached statement is prepared again and reset without a crash.
    for (int i = 0; i < 2; ++i) {
        SqliteStatement& st = db->cached("SELECT missing FROM nowhere WHERE id = ?1");
        EXPECT_FALSE(st.valid());
        EXPECT_EQ(st.bind(1, int64_t{5}).step(), SqliteStep::Error);
        EXPECT_FALSE(st.each_row([] { ADD_FAILURE() << "no rows from a failed statement"; }));
        EXPECT_EQ(st.column_text(0), u"");
    }
    EXPECT_EQ(db->last_failure().kind, Kind::Other);
    EXPECT_EQ(db->failure_text(),
              (device.device() / "test.db").string() + " failed (no such table: nowhere)");
    EXPECT_FALSE(db->prepare("SELEC 1").run());
}

TEST(SqliteDatabase, ARowLoopTellsADamagedFileFromTheEndOfItsRows) {
    TestDevice device;
    {
        auto db = open(device);
        ASSERT_TRUE(db->exec(
            "CREATE TABLE t(x TEXT); WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 "
            "FROM n WHERE i < 2000) INSERT INTO t SELECT printf('%.200c', 'x') FROM n;"));
    }
    damage_table((device.device() / "test.db").string(), "t");
    auto db = open(device);
    auto st = db->prepare("SELECT x FROM t");
    int rows = 0;
    EXPECT_FALSE(st.each_row([&] { ++rows; }));
    EXPECT_EQ(db->last_failure().kind, Kind::Damaged);
    EXPECT_TRUE(contains(db->failure_text(), "test.db is damaged ("));
}

TEST(SqliteFailure, NamesTheCauseTheUserCanActOn) {
    struct Case {
        int code;
        int system_errno;
        Kind kind;
        const char* words;
    };
    for (const Case& c : {
             Case{SQLITE_BUSY, 0, Kind::Busy, "is busy: another program kept it locked for 30 s"},
             Case{SQLITE_IOERR_WRITE, EFBIG, Kind::FileTooLarge, "file size limit (ulimit -f)"},
             Case{SQLITE_FULL, 0, Kind::DiskFull, "the disk is full"},
             Case{SQLITE_IOERR_WRITE, ENOSPC, Kind::DiskFull, "the disk is full"},
             Case{SQLITE_IOERR_WRITE, EROFS, Kind::ReadOnly, "(Read-only file system)"},
             Case{SQLITE_READONLY, 0, Kind::ReadOnly, "(attempt to write a readonly database)"},
             Case{SQLITE_IOERR_READ, EIO, Kind::Io, "(Input/output error)"},
             Case{SQLITE_NOTADB, 0, Kind::Damaged, "is damaged"},
         }) {
        SqliteFailure f = SqliteFailure::of(c.code, c.system_errno, sqlite3_errstr(c.code));
        EXPECT_EQ(f.kind, c.kind) << c.code;
        EXPECT_TRUE(contains(f.describe(), c.words));
    }
}

}  // namespace
