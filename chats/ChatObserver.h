#pragma once
// Receives the chat model's changes. Observers are called synchronously, in
// the order they were added, inside the operation that changed the model;
// they must not change the chat list themselves.
#include "chats/ChatEvent.h"

class ChatObserver {
public:
    virtual ~ChatObserver() = default;
    virtual void on_chat_event(const ChatEvent& event) = 0;
};
