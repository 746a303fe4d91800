#include "platform/store/Session.h"

#include <atomic>

#include "platform/Paths.h"
#include "platform/store/MsgStore.h"
#include "platform/store/RowsTable.h"
#include "platform/store/StoreHresult.h"

namespace mapi {
namespace {
std::atomic<int> g_initialised{0};
}

HRESULT initialize() {
    ++g_initialised;
    return S_OK;
}

void uninitialize() {
    if (g_initialised > 0) --g_initialised;
}

HRESULT Session::logon(std::unique_ptr<Session>& out) {
    out.reset();
    if (g_initialised <= 0) return MAPI_E_NOT_INITIALIZED;
    std::shared_ptr<StoreDatabase> db = StoreDatabase::open(paths::device_folder_utf8(), nullptr);
    if (!db) return MAPI_E_LOGON_FAILED;
    out.reset(new Session(std::move(db)));
    return S_OK;
}

Session::~Session() = default;

HRESULT Session::get_msg_stores_table(std::unique_ptr<Table>& out) {
    if (!db_) return MAPI_E_CALL_FAILED;
    std::vector<StoreDatabase::StoreRow> stores = db_->stores();
    if (db_->store_failed()) return MAPI_E_DISK_ERROR;
    std::vector<Row> rows;
    for (StoreDatabase::StoreRow& s : stores)
        rows.push_back({PropValue::of_binary(PR_ENTRYID, std::move(s.entry_id)),
                        PropValue::of_text(PR_DISPLAY_NAME_W, std::move(s.display_name))});
    out = std::make_unique<RowsTable>(std::move(rows));
    return S_OK;
}

HRESULT Session::open_msg_store(const Bytes& entry_id, std::unique_ptr<MsgStore>& out) {
    out.reset();
    if (!db_) return MAPI_E_CALL_FAILED;
    for (const StoreDatabase::StoreRow& s : db_->stores()) {
        if (s.entry_id != entry_id) continue;
        out = std::make_unique<MsgStore>(db_, entry_id);
        return S_OK;
    }
    return failure_code(*db_, MAPI_E_NOT_FOUND);
}

HRESULT Session::logoff() {
    db_.reset();
    return S_OK;
}

}  // namespace mapi
