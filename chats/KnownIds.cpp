#include "chats/KnownIds.h"

#include <algorithm>
#include <iterator>

namespace {

// A prefix of EntryId order: ids of different lengths, or whose first seven
// bytes differ, compare as their keys do.
uint64_t sort_key(const EntryId& id) {
    // Lengths past a byte all share one key, and leave their order to the
    // ids themselves.
    if (id.length() >= 0xFF) return uint64_t{0xFF} << 56;
    uint64_t key = static_cast<uint64_t>(id.length()) << 56;
    const uint8_t* bytes = id.data();
    for (uint32_t i = 0; i < 7 && i < id.length(); ++i)
        key |= static_cast<uint64_t>(bytes[i]) << (48 - 8 * i);
    return key;
}

}  // namespace

bool KnownIds::holds(int32_t folder, const EntryId& id) const {
    const std::vector<EntryId>& known = known_[folder];
    return std::binary_search(known.begin(), known.end(), id);
}

void KnownIds::add(int32_t folder, std::vector<EntryId>& ids) {
    if (ids.empty()) return;
    std::vector<EntryId>& unreadable = unreadable_[folder];
    if (!unreadable.empty())
        std::erase_if(unreadable, [&](const EntryId& id) {
            return std::find(ids.begin(), ids.end(), id) != ids.end();
        });
    // Sorting the few new ids and merging them in keeps a poll linear in the
    // size of the folder's ids.
    std::sort(ids.begin(), ids.end());
    std::vector<EntryId>& known = known_[folder];
    auto middle = static_cast<std::ptrdiff_t>(known.size());
    known.insert(known.end(), std::make_move_iterator(ids.begin()),
                 std::make_move_iterator(ids.end()));
    std::inplace_merge(known.begin(), known.begin() + middle, known.end());
    known.erase(std::unique(known.begin(), known.end()), known.end());
}

void KnownIds::remove(int32_t folder, const EntryId& id) {
    std::vector<EntryId>& known = known_[folder];
    auto at = std::lower_bound(known.begin(), known.end(), id);
    if (at != known.end() && *at == id) known.erase(at);
}

void KnownIds::rebuild(const std::vector<std::unique_ptr<Chat>>& chats) {
    size_t counts[kFolderCount] = {};
    for (const auto& chat : chats)
        for (const SmsRecord& record : chat->messages()) ++counts[record.folder];
    for (int32_t folder = 0; folder < kFolderCount; ++folder) {
        known_[folder].clear();
        known_[folder].reserve(counts[folder]);
        unreadable_[folder].clear();
    }
    // Sorted as (key, record) pairs: a start sorts every id of the cache,
    // and pairs sort without reaching into the ids' buffers at each
    // comparison. The key is the id's length and first bytes, in EntryId
    // order; ids that share a key are ordered by EntryId itself.
    struct Keyed {
        uint64_t key;
        const EntryId* id;
    };
    std::vector<Keyed> keyed[kFolderCount];
    for (int32_t folder = 0; folder < kFolderCount; ++folder) keyed[folder].reserve(counts[folder]);
    for (const auto& chat : chats)
        for (const SmsRecord& record : chat->messages())
            keyed[record.folder].push_back({sort_key(record.id), &record.id});
    for (int32_t folder = 0; folder < kFolderCount; ++folder) {
        std::sort(keyed[folder].begin(), keyed[folder].end(), [](const Keyed& a, const Keyed& b) {
            return a.key != b.key ? a.key < b.key : *a.id < *b.id;
        });
        std::vector<EntryId>& known = known_[folder];
        for (const Keyed& k : keyed[folder])
            if (known.empty() || !(known.back() == *k.id)) known.push_back(*k.id);
    }
}

void KnownIds::note_unreadable(int32_t folder, const EntryId& id) {
    std::vector<EntryId>& unreadable = unreadable_[folder];
    if (std::find(unreadable.begin(), unreadable.end(), id) == unreadable.end())
        unreadable.push_back(id);
}

bool KnownIds::accounts_for(int32_t folder, size_t rows,
                            const std::vector<EntryId>& new_ids) const {
    // An unreadable id in the scanned rows is among the new ids already.
    size_t unreadable_elsewhere = 0;
    for (const EntryId& id : unreadable_[folder])
        if (std::find(new_ids.begin(), new_ids.end(), id) == new_ids.end()) ++unreadable_elsewhere;
    return rows == known_[folder].size() + new_ids.size() + unreadable_elsewhere;
}

std::vector<EntryId> KnownIds::reconcile(int32_t folder, const std::vector<EntryId>& present,
                                         std::vector<EntryId>& new_ids) {
    std::vector<EntryId>& known = known_[folder];
    std::vector<bool> seen(known.size());
    for (const EntryId& id : present) {
        auto at = std::lower_bound(known.begin(), known.end(), id);
        if (at != known.end() && *at == id)
            seen[static_cast<size_t>(at - known.begin())] = true;
        else
            new_ids.push_back(id);
    }
    std::vector<EntryId> gone;
    size_t kept = 0;
    for (size_t i = 0; i < known.size(); ++i) {
        if (!seen[i]) {
            gone.push_back(std::move(known[i]));
            continue;
        }
        if (kept != i) known[kept] = std::move(known[i]);
        ++kept;
    }
    known.resize(kept);
    unreadable_[folder].clear();
    return gone;
}
