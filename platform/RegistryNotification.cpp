#include "platform/RegistryNotification.h"

#include "platform/RegistryDatabase.h"

namespace registry {

bool condition_holds(const NotificationRequest& r, uint32_t value) {
    uint32_t v = value & r.mask;
    switch (r.compare) {
        case Compare::AnyChange:
            return true;
        case Compare::Equal:
            return v == r.target;
        case Compare::NotEqual:
            return v != r.target;
        case Compare::Greater:
            return v > r.target;
        case Compare::GreaterOrEqual:
            return v >= r.target;
        case Compare::Less:
            return v < r.target;
        case Compare::LessOrEqual:
            return v <= r.target;
    }
    return false;
}

int32_t notify_app(const NotificationRequest& r) {
    RegistryPath key(r.key);
    if (!key.valid() || r.name.empty()) return kResultFailed;
    auto guard = RegistryDatabase::lock();
    SqliteDatabase* db = RegistryDatabase::get(nullptr);
    if (db == nullptr) return kResultFailed;
    SqliteTransaction tx(*db);
    if (!tx.ok()) return kResultFailed;
    auto exists = db->prepare("SELECT 1 FROM notifications WHERE name = ?1");
    exists.bind(1, r.name);
    SqliteStep found = exists.step();
    exists.reset();
    if (found == SqliteStep::Error) return kResultFailed;
    bool existed = found == SqliteStep::Row;
    // A request that exists already is brought up to date (the program may
    // have moved since it was made) and still answers "already exists".
    auto st = db->prepare(
        "INSERT OR REPLACE INTO notifications(name, key, value, command, flags, compare, mask, "
        "target) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
    st.bind(1, r.name).bind(2, key.full()).bind(3, r.value).bind(4, r.command_line);
    st.bind(5, static_cast<int64_t>(r.flags)).bind(6, static_cast<int64_t>(r.compare));
    st.bind(7, static_cast<int64_t>(r.mask)).bind(8, static_cast<int64_t>(r.target));
    if (!st.run() || !tx.commit()) return kResultFailed;
    return existed ? kResultAlreadyExists : kResultOk;
}

int32_t stop_notification(std::u16string_view name) {
    auto guard = RegistryDatabase::lock();
    SqliteDatabase* db = RegistryDatabase::get(nullptr);
    if (db == nullptr) return kResultFailed;
    auto st = db->prepare("DELETE FROM notifications WHERE name = ?1");
    st.bind(1, name);
    if (!st.run()) return kResultFailed;
    return db->changes() > 0 ? kResultOk : kResultNotFound;
}

std::vector<NotificationRequest> notification_requests() {
    std::vector<NotificationRequest> out;
    auto guard = RegistryDatabase::lock();
    SqliteDatabase* db = RegistryDatabase::get(nullptr);
    if (db == nullptr) return out;
    auto q = db->prepare(
        "SELECT name, key, value, command, flags, compare, mask, target FROM notifications "
        "ORDER BY name");
    bool ended = q.each_row([&] {
        NotificationRequest r;
        r.name = q.column_text(0);
        r.key = q.column_text(1);
        r.value = q.column_text(2);
        r.command_line = q.column_text(3);
        r.flags = static_cast<uint32_t>(q.column_int(4));
        r.compare = static_cast<Compare>(q.column_int(5));
        r.mask = static_cast<uint32_t>(q.column_int(6));
        r.target = static_cast<uint32_t>(q.column_int(7));
        out.push_back(std::move(r));
    });
    if (!ended) out.clear();
    return out;
}

}  // namespace registry
