#include "chats/KnownIds.h"

#include <algorithm>
#include <iterator>

namespace {

// A prefix of EntryId order: the length, then the first eight bytes read
// as a big-endian word. Ids of different keys compare as their keys do; the
// store's ids are eight bytes, so for them the key is the whole order.
struct SortKey {
    uint32_t length;
    uint64_t head;
    const EntryId* id;

    explicit SortKey(const EntryId& of) : length(of.length()), head(0), id(&of) {
        const uint8_t* bytes = of.data();
        for (uint32_t i = 0; i < 8; ++i) head = head << 8 | (i < length ? bytes[i] : 0);
    }

    friend bool operator<(const SortKey& a, const SortKey& b) {
        if (a.length != b.length) return a.length < b.length;
        if (a.head != b.head) return a.head < b.head;
        return a.length > 8 && *a.id < *b.id;
    }
};

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
    // Sorted as keys: a start sorts every id of the cache, and keys sort
    // without reaching into the ids' buffers at each comparison.
    std::vector<SortKey> keyed[kFolderCount];
    for (int32_t folder = 0; folder < kFolderCount; ++folder) keyed[folder].reserve(counts[folder]);
    for (const auto& chat : chats)
        for (const SmsRecord& record : chat->messages())
            keyed[record.folder].emplace_back(record.id);
    for (int32_t folder = 0; folder < kFolderCount; ++folder) {
        std::sort(keyed[folder].begin(), keyed[folder].end());
        std::vector<EntryId>& known = known_[folder];
        for (const SortKey& k : keyed[folder])
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
