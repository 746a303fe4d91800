#pragma once
// One message opened through the messaging interface: its properties, its
// recipient table, and for a new message the changes that submit() files.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/store/MapiTypes.h"
#include "platform/store/StoredMessage.h"
#include "platform/store/Table.h"

class StoreDatabase;

namespace mapi {

class Message {
public:
    // An existing message, read when opened.
    Message(std::shared_ptr<StoreDatabase> db, StoredMessage message, bool modify);
    // A new message of a folder, not yet in the store.
    Message(std::shared_ptr<StoreDatabase> db, int64_t folder_row);

    HRESULT get_props(const std::vector<uint32_t>& tags, uint32_t flags,
                      std::vector<PropValue>& out);
    // Sets properties. On an existing message only PR_MESSAGE_FLAGS is stored
    // (at once); on a new message every value is kept for submit().
    HRESULT set_props(const std::vector<PropValue>& values);
    HRESULT get_recipient_table(uint32_t flags, std::unique_ptr<Table>& out);
    // MODRECIP_ADD: each row holds PR_RECIPIENT_TYPE, PR_ADDRTYPE_W,
    // PR_DISPLAY_NAME_W and PR_EMAIL_ADDRESS_W.
    HRESULT modify_recipients(uint32_t flags, const std::vector<Row>& rows);
    // GetIDsFromNames for one string-named property; MAPI_CREATE makes one.
    HRESULT get_id_from_name(const Guid& set, std::u16string_view name, uint32_t flags,
                             uint32_t& id);
    // Files a new message in its folder and hands it to the transport.
    HRESULT submit(uint32_t flags);

private:
    std::shared_ptr<StoreDatabase> db_;
    StoredMessage message_;
    int64_t new_in_folder_ = 0;  // folder row of a new message, 0 for an existing one
    bool modify_ = false;
    bool submitted_ = false;
};

}  // namespace mapi
