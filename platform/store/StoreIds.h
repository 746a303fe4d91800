#pragma once
// Entry ids of the message store: 8 opaque bytes, a two-letter kind ("QS"
// store, "QF" folder, "QM" message) and the row number, big-endian, so that
// ids of messages order like their arrival. Message row numbers are never
// reused.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace store_ids {

using Bytes = std::vector<uint8_t>;

Bytes of_store(int64_t row);
Bytes of_folder(int64_t row);
Bytes of_message(int64_t row);

// The row an id names; 0 when the bytes are no id of that kind.
int64_t store_row(const Bytes& id);
int64_t folder_row(const Bytes& id);
int64_t message_row(const Bytes& id);

}  // namespace store_ids
