#pragma once
// The entry ids the chat model knows, per folder (FolderIndex 0..3): every id
// it filed into a chat, or recorded on purpose (a draft for nobody), sorted in
// EntryId order and searched by binary search.
//
// Beside them, per folder, the ids seen in the store that could not be read.
// They are not known (a later update reads them again), but they count when
// the model checks whether a folder lost rows: a message that stays
// unreadable must not make every poll walk its whole folder.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "chats/Chat.h"
#include "messaging/EntryId.h"
#include "messaging/SmsRecord.h"

class KnownIds {
public:
    // The known ids of a folder, sorted.
    const std::vector<EntryId>& ids(int32_t folder) const { return known_[folder]; }
    bool holds(int32_t folder, const EntryId& id) const;

    // Adds the ids (sorted here; duplicates dropped). An added id is no
    // longer unreadable. Linear in the size of the folder's ids.
    void add(int32_t folder, std::vector<EntryId>& ids);
    // Forgets one id; an id not held does nothing.
    void remove(int32_t folder, const EntryId& id);
    // Knows exactly the ids of the chats' records, each in its folder.
    void rebuild(const std::vector<std::unique_ptr<Chat>>& chats);

    // Remembers an id of the folder that could not be read.
    void note_unreadable(int32_t folder, const EntryId& id);

    // Whether a folder that has `rows` rows, in which a scan of its newest
    // rows found new_ids (ids not known), is fully explained by them, its
    // known ids and its unreadable ones. False means rows left the folder (or
    // new ones lie where the scan did not look): it must be walked in full.
    bool accounts_for(int32_t folder, size_t rows, const std::vector<EntryId>& new_ids) const;

    // After a complete walk of a folder found the ids `present` (in any
    // order): appends the present ids that are not known to new_ids, forgets
    // the known ids that are no longer present and returns them, sorted. The
    // unreadable ids are forgotten too; those still present are among the new
    // ones, to be tried again.
    std::vector<EntryId> reconcile(int32_t folder, const std::vector<EntryId>& present,
                                   std::vector<EntryId>& new_ids);

private:
    std::vector<EntryId> known_[kFolderCount];
    std::vector<EntryId> unreadable_[kFolderCount];  // few or none, in any order
};
