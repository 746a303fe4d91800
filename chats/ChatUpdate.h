#pragma once
// One update of the chat model (ChatModel::update_chats): finds what changed
// in the store since the model last looked and brings the chats up to date.
//
//   scans and walks ..... new ids at the end of folders 0..2; a folder whose
//                         row count shows that rows left it is walked in full,
//                         in one state of the store
//   the Outbox .......... walked in full; messages that left it leave their
//                         chats
//   messages gone ....... messages that left folders 0..2 leave their chats
//   reading ............. the new ids are read into records, then filed
//                         (ChatFiling)
//
// The update is a class of its own because a run has state of its own (the
// new and gone ids of each folder, the Outbox, the one rebuild of the store
// it may make, the records read) that every step reads and writes: as
// members of an object made for one run they pass from step to step without
// being handed along, and the model keeps only what outlives an update. The
// update changes the model's state directly (the chats, the known ids, the
// store manager), as a part of the model (a friend of ChatModel).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "chats/Chat.h"
#include "chats/ChatModel.h"
#include "chats/ProgressListener.h"
#include "messaging/EntryId.h"
#include "messaging/SmsRecord.h"
#include "platform/Stopwatch.h"

class ChatUpdate {
public:
    // notify: whether observers hear of the changes; progress may be null.
    ChatUpdate(ChatModel& model, bool notify, ProgressListener* progress)
        : model_(model), notify_(notify), progress_(progress) {}

    // Runs the update once; see ChatModel::update_chats. True when anything
    // changed (the unread total and the cache are then written).
    bool run();

private:
    void scan_folder(int32_t folder);
    void walk_folder(int32_t folder);
    bool walk(int32_t folder, std::vector<EntryId>& present);
    void follow_outbox();
    void drop_sent_messages();
    void find_new_outbox_ids();
    void drop_gone_messages();
    void recount_unread(Chat& chat);
    void read_new_messages();
    void drop_emptied_chats();
    void rebuild_store(const char16_t* line);
    void report(double fraction) const;

    ChatModel& model_;
    bool notify_;
    ProgressListener* progress_;
    Stopwatch clock_;
    bool reloaded_ = false;  // the store is rebuilt at most once per update

    std::vector<EntryId> new_ids_[kFolderCount];
    std::vector<EntryId> gone_[kFolderCount];  // ids that left folders 0..2, sorted
    std::vector<EntryId> outbox_;              // ids now in the Outbox, sorted
    std::vector<EntryId> held_outbox_;         // Outbox ids that a chat holds, sorted
    bool removed_ = false;                     // records left their chats
    std::vector<Chat*> emptied_;               // chats that removals left empty
    size_t id_count_ = 0;                      // new ids read successfully
    std::vector<SmsRecord> pool_;              // records to file, one per chat they go to
};
