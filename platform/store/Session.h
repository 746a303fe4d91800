#pragma once
// The messaging interface a program uses to reach the device's message store:
// initialise, log on, list the stores, open one.
#include <memory>

#include "platform/store/MapiTypes.h"
#include "platform/store/Table.h"

class StoreDatabase;

namespace mapi {

class MsgStore;

// MAPIInitialize / MAPIUninitialize: counted per process.
HRESULT initialize();
void uninitialize();

class Session {
public:
    // MAPILogonEx: opens the device folder's message store. Fails when the
    // interface is not initialised or the store cannot be opened.
    static HRESULT logon(std::unique_ptr<Session>& out);
    ~Session();

    // The stores table: one row per store, holding PR_ENTRYID first, then
    // PR_DISPLAY_NAME_W.
    HRESULT get_msg_stores_table(std::unique_ptr<Table>& out);
    HRESULT open_msg_store(const Bytes& entry_id, std::unique_ptr<MsgStore>& out);
    HRESULT logoff();

private:
    explicit Session(std::shared_ptr<StoreDatabase> db) : db_(std::move(db)) {}
    std::shared_ptr<StoreDatabase> db_;
};

}  // namespace mapi
