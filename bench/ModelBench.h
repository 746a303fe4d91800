#pragma once
// Figures of the chat model over a generated store: the first update without a
// cache, saving and loading the cache, an idle poll, a poll that finds one new
// message, and the model's resident memory.
#include <cstddef>
#include <string>

class ModelBench {
public:
    // messages in chats conversations; suffix is appended to every figure's name.
    ModelBench(size_t messages, size_t chats, std::string suffix)
        : messages_(messages), chats_(chats), suffix_(std::move(suffix)) {}

    // Makes a fresh device folder with the generated store, measures, and
    // removes the folder again. False when the store cannot be made.
    bool run();

private:
    size_t messages_;
    size_t chats_;
    std::string suffix_;
};
