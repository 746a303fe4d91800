#pragma once
// A change of the chat model, as its observers hear of it.
#include <cstdint>

class Chat;

struct ChatEvent {
    // The numbers are the events' own (5 is not used).
    enum Kind : int32_t {
        kChatInserted = 1,    // index: the chat's new position in the list
        kChatChanged = 2,     // index: its position; name or label changed
        kChatRemoved = 3,     // index: its old position in the list
        kMessageAdded = 4,    // index: the message's position in the chat
        kMessageRemoved = 6,  // index: the message's old position in the chat
    };

    Kind kind = kChatInserted;
    int32_t index = 0;
    Chat* chat = nullptr;  // the chat for kinds 2, 4 and 6; null otherwise
};
