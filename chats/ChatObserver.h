#pragma once
// Receives the chat model's changes. Observers are called synchronously, in
// the order they were added, inside the operation that changed the model;
// they must not change the chat list themselves. An observer registers with
// ChatModel::add_observer and keeps the Subscription it gets for as long as
// it wants to hear: it may end it (its own or another's) while being told.
#include "chats/ChatEvent.h"

class ChatObserver {
public:
    virtual ~ChatObserver() = default;
    virtual void on_chat_event(const ChatEvent& event) = 0;
};
