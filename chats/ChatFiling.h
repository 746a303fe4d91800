#pragma once
// Files the records that one update of the chat model read into the chats:
// each record goes to the chat of its key (a new chat when no chat has the
// key), the chats that got records move to the top of the list in chat
// order, and the newest unread incoming record waits for the alert.
// Afterwards the filed records keep only their id and folder.
//
// Filing is a class of its own because it has working state of its own (the
// chats taken out of the list, where each one's new records start, the newest
// unread record) and nothing to do with how the update found the records. It
// is made for one update and changes the model's chat list and pending
// message directly, as a part of the model (a friend of ChatModel).
#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "chats/Chat.h"
#include "chats/ChatModel.h"
#include "chats/ProgressListener.h"
#include "messaging/SmsRecord.h"
#include "platform/Stopwatch.h"

class ChatFiling {
public:
    // notify: whether observers hear of the changes; progress may be null;
    // clock times the update, for the log. All must outlive the filing.
    ChatFiling(ChatModel& model, bool notify, ProgressListener* progress, const Stopwatch& clock)
        : model_(model), notify_(notify), progress_(progress), clock_(clock) {}

    // Files the records (read from id_count new ids; several records per id
    // for a message to several recipients). True when some chat got a record.
    bool file(std::vector<SmsRecord> pool, size_t id_count);

private:
    void file_records();
    std::unique_ptr<Chat> take_from_list(const std::u16string& key);
    void report(double fraction) const;

    ChatModel& model_;
    bool notify_;
    ProgressListener* progress_;
    const Stopwatch& clock_;

    std::vector<SmsRecord> pool_;  // the sms_pul: records to file, in record order
    ChatModel::ChatList touched_;  // the chat_pul: chats taken out of the list
    Chat* newest_unread_ = nullptr;
    size_t newest_unread_index_ = 0;
    // Each touched chat with the position of its first record of this update.
    std::vector<std::pair<Chat*, size_t>> filed_from_;
};
