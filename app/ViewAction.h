#pragma once
// What a command line asks the running program to show: the chat with a
// number, and maybe a text to start the message with. Two spellings name a
// chat: the handset's own "open:NUMBER" (the alert's view button, a later
// start) and an "sms:" URI as a desktop hands it over (RFC 5724:
// "sms:+123,+456?body=hi%20there"; only the first recipient is taken).
//
// Command lines come from anyone who can start the program, so the result is
// bounded and clean: a number holds only what numbers are written with, a
// body has no control characters but line feeds, and both are cut at a
// fixed length.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct ViewAction {
    static constexpr size_t kMaxNumber = 64;
    static constexpr size_t kMaxBody = 10000;

    // "open:" and the rest, as the handset wrote it: a number, or the name
    // of a sender that has none (an alphanumeric sender).
    std::u16string number;
    // The text for the chat form's message; empty for "open:".
    std::u16string body;

    // The action of command_line, or nothing when it names no chat: an empty
    // line, "message", another word, "open:" or an "sms:" URI without a
    // usable recipient.
    static std::optional<ViewAction> parse(std::u16string_view command_line);
    // Whether command_line is spelled as an action ("open:" or "sms:"),
    // usable or not.
    static bool names_chat(std::u16string_view command_line);
};
