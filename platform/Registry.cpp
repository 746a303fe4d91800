#include "platform/Registry.h"

#include <cstring>

#include "platform/Process.h"
#include "platform/RegistryDatabase.h"
#include "platform/RegistryNotification.h"

namespace registry {
namespace {

std::vector<uint8_t> string_bytes(std::u16string_view text) {
    // (characters + 1) × 2 bytes: the terminating zero is stored.
    std::vector<uint8_t> data((text.size() + 1) * 2, 0);
    for (size_t i = 0; i < text.size(); ++i) {
        data[i * 2] = static_cast<uint8_t>(text[i] & 0xFF);
        data[i * 2 + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    return data;
}

std::vector<uint8_t> number_bytes(uint32_t value) {
    return {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
            static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
}

// Reports a failure of the registry itself; returns false.
bool failed(SqliteDatabase& db, std::string* error) {
    if (error) *error = db.failure_text();
    return false;
}

}  // namespace

std::optional<uint32_t> number_of(const RawValue& v) {
    if (v.type != kTypeNumber || v.data.size() != 4) return std::nullopt;
    return static_cast<uint32_t>(v.data[0]) | static_cast<uint32_t>(v.data[1]) << 8 |
           static_cast<uint32_t>(v.data[2]) << 16 | static_cast<uint32_t>(v.data[3]) << 24;
}

namespace {

// A value as stored; nothing when there is none or reading failed (*failed
// is then set).
std::optional<RawValue> select_value(SqliteDatabase& db, const std::u16string& key,
                                     std::u16string_view name, bool& read_failed) {
    SqliteStatement& st = db.cached("SELECT type, data FROM vals WHERE key = ?1 AND name = ?2");
    st.bind(1, key).bind(2, name);
    std::optional<RawValue> out;
    SqliteStep step = st.step();
    if (step == SqliteStep::Row)
        out = RawValue{static_cast<uint32_t>(st.column_int(0)), st.column_blob(1)};
    st.reset();  // ends the statement's read transaction
    read_failed = step == SqliteStep::Error;
    return out;
}

// Writes one value; the key is created when missing (as the create-key call
// does). Afterwards the requests watching this value run when their condition
// holds for a changed value.
using Producer = std::function<std::optional<std::vector<uint8_t>>()>;

bool write_value(const RegistryPath& key, std::u16string_view name, uint32_t type,
                 const Producer& produce, std::string* error) {
    if (!key.valid()) return false;
    std::vector<NotificationRequest> fire;
    {
        auto guard = RegistryDatabase::lock();
        SqliteDatabase* db = RegistryDatabase::get(error);
        if (db == nullptr) return false;
        std::u16string path = key.full();
        SqliteTransaction tx(*db);
        if (!tx.ok()) return failed(*db, error);
        bool read_failed = false;
        std::optional<RawValue> old = select_value(*db, path, name, read_failed);
        if (read_failed) return failed(*db, error);
        std::optional<std::vector<uint8_t>> data = produce();
        if (!data) return true;
        if (!db->prepare("INSERT OR IGNORE INTO keys(path) VALUES(?1)").bind(1, path).run())
            return failed(*db, error);
        auto st = db->prepare(
            "INSERT INTO vals(key, name, type, data) VALUES(?1, ?2, ?3, ?4) "
            "ON CONFLICT(key, name) DO UPDATE SET type = excluded.type, data = excluded.data");
        st.bind(1, path).bind(2, name).bind(3, static_cast<int64_t>(type));
        st.bind_blob(4, data->data(), data->size());
        if (!st.run()) return failed(*db, error);

        RawValue now{type, std::move(*data)};
        bool changed = !old || old->type != now.type || old->data != now.data;
        std::optional<uint32_t> number = number_of(now);
        if (changed && number) {
            auto q = db->prepare(
                "SELECT name, command, flags, compare, mask, target FROM notifications "
                "WHERE key = ?1 AND value = ?2 ORDER BY name");
            q.bind(1, path).bind(2, name);
            bool ended = q.each_row([&] {
                NotificationRequest r;
                r.name = q.column_text(0);
                r.key = path;
                r.value = std::u16string(name);
                r.command_line = q.column_text(1);
                r.flags = static_cast<uint32_t>(q.column_int(2));
                r.compare = static_cast<Compare>(q.column_int(3));
                r.mask = static_cast<uint32_t>(q.column_int(4));
                r.target = static_cast<uint32_t>(q.column_int(5));
                if (condition_holds(r, *number)) fire.push_back(std::move(r));
            });
            if (!ended) return failed(*db, error);
        }
        if (!tx.commit()) return failed(*db, error);
    }
    // Started after the commit, so the new program reads the new value.
    for (const NotificationRequest& r : fire) {
        std::vector<std::u16string> argv = process::split_command_line(r.command_line);
        if (!(r.flags & kNoNameOnCommandLine)) argv.push_back(r.name);
        process::spawn_detached(argv);
    }
    return true;
}

}  // namespace

std::optional<RawValue> read_raw(const RegistryPath& key, std::u16string_view name,
                                 std::string* error) {
    if (!key.valid()) return std::nullopt;
    auto guard = RegistryDatabase::lock();
    SqliteDatabase* db = RegistryDatabase::get(error);
    if (db == nullptr) return std::nullopt;
    bool read_failed = false;
    std::optional<RawValue> value = select_value(*db, key.full(), name, read_failed);
    if (read_failed) failed(*db, error);
    return value;
}

std::u16string text_of(const RawValue& v) {
    std::u16string text;
    for (size_t i = 0; i + 1 < v.data.size(); i += 2) {
        char16_t c = static_cast<char16_t>(v.data[i] | (v.data[i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return text;
}

bool write_string(const RegistryPath& key, std::u16string_view name, std::u16string_view value,
                  std::string* error) {
    return write_value(
        key, name, kTypeString, [&] { return string_bytes(value); }, error);
}

bool read_string(const RegistryPath& key, std::u16string_view name, std::u16string& value) {
    std::optional<RawValue> v = read_raw(key, name);
    if (!v) return false;
    // A value of at most one byte fits the first one-byte probe: it is empty,
    // whatever its type.
    if (v->data.size() <= 1) {
        value.clear();
        return true;
    }
    if (v->type != kTypeString) return false;
    value = text_of(*v);
    return true;
}

bool write_number(const RegistryPath& key, std::u16string_view name, uint32_t value,
                  std::string* error) {
    return write_value(
        key, name, kTypeNumber, [&] { return number_bytes(value); }, error);
}

bool update_number(const RegistryPath& key, std::u16string_view name,
                   const std::function<std::optional<uint32_t>()>& compute, std::string* error) {
    return write_value(
        key, name, kTypeNumber,
        [&]() -> std::optional<std::vector<uint8_t>> {
            std::optional<uint32_t> value = compute();
            if (!value) return std::nullopt;
            return number_bytes(*value);
        },
        error);
}

bool read_number(const RegistryPath& key, std::u16string_view name, uint32_t& value) {
    std::optional<RawValue> v = read_raw(key, name);
    if (!v) return false;
    std::optional<uint32_t> number = number_of(*v);
    if (!number) return false;
    value = *number;
    return true;
}

bool read_flag(const RegistryPath& key, std::u16string_view name, bool& flag) {
    uint32_t value = 0;
    if (!read_number(key, name, value)) return false;
    flag = value != 0;
    return true;
}

bool delete_value(const RegistryPath& key, std::u16string_view name, std::string* error) {
    if (!key.valid()) return false;
    auto guard = RegistryDatabase::lock();
    SqliteDatabase* db = RegistryDatabase::get(error);
    if (db == nullptr) return false;
    auto st = db->prepare("DELETE FROM vals WHERE key = ?1 AND name = ?2");
    st.bind(1, key.full()).bind(2, name);
    if (!st.run()) return failed(*db, error);
    return db->changes() > 0;
}

}  // namespace registry
