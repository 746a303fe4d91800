#pragma once
// The loopback network of this machine (the demo, the tests, "quillmo-device
// sms transmit"): every submitted Outbox message is moved to Sent Items
// (unsent flag cleared, delivery time now), and a delivery report is filed in
// the Inbox for each recipient when one was requested. A message to one of
// the numbers that are to fail stays in the Outbox, marked failed.
#include <string>
#include <vector>

#include "platform/SqliteDatabase.h"
#include "platform/store/StoreSchema.h"

class LoopbackTransport {
public:
    struct Result {
        int sent = 0;
        int failed = 0;
        int reports = 0;
    };

    // fail_numbers match a recipient's number as written or by its digits.
    LoopbackTransport(SqliteDatabase& db, const SmsFolderRows& folders,
                      const std::vector<std::u16string>& fail_numbers)
        : db_(db), folders_(folders), fail_numbers_(fail_numbers) {}

    // One run over the Outbox, inside the caller's write transaction. False
    // when the store failed; the caller then rolls the whole run back.
    bool run(Result& result);

private:
    bool fails(const std::u16string& number) const;

    SqliteDatabase& db_;
    const SmsFolderRows& folders_;
    const std::vector<std::u16string>& fail_numbers_;
};
