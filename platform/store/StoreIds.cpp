#include "platform/store/StoreIds.h"

namespace store_ids {
namespace {

Bytes make(char a, char b, int64_t row) {
    Bytes id{static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
    for (int shift = 40; shift >= 0; shift -= 8) id.push_back(static_cast<uint8_t>(row >> shift));
    return id;
}

int64_t parse(char a, char b, const Bytes& id) {
    if (id.size() != 8 || id[0] != static_cast<uint8_t>(a) || id[1] != static_cast<uint8_t>(b))
        return 0;
    int64_t row = 0;
    for (size_t i = 2; i < 8; ++i) row = row << 8 | id[i];
    return row;
}

}  // namespace

Bytes of_store(int64_t row) { return make('Q', 'S', row); }
Bytes of_folder(int64_t row) { return make('Q', 'F', row); }
Bytes of_message(int64_t row) { return make('Q', 'M', row); }

int64_t store_row(const Bytes& id) { return parse('Q', 'S', id); }
int64_t folder_row(const Bytes& id) { return parse('Q', 'F', id); }
int64_t message_row(const Bytes& id) { return parse('Q', 'M', id); }

}  // namespace store_ids
