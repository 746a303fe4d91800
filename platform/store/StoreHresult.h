#pragma once
// The result code of a failed call of the messaging interface: callers tell a
// store that failed (MAPI_E_DISK_ERROR) from a call that found nothing.
#include "platform/store/MapiTypes.h"
#include "platform/store/StoreDatabase.h"

namespace mapi {

// MAPI_E_DISK_ERROR when the store's last operation failed because of the
// store itself, otherwise the call's own code.
inline HRESULT failure_code(const StoreDatabase& db, HRESULT otherwise) {
    return db.store_failed() ? MAPI_E_DISK_ERROR : otherwise;
}

}  // namespace mapi
