#pragma once
// The words of synthetic SMS histories: names, conversation phrases in Russian
// and English, and the texts of automated senders.
#include <span>
#include <string_view>

namespace history_phrases {

enum class Language { Russian, English };

struct Pools {
    std::span<const std::u16string_view> openers;
    std::span<const std::u16string_view> questions;
    std::span<const std::u16string_view> answers;
    std::span<const std::u16string_view> statements;
    std::span<const std::u16string_view> closers;
};
const Pools& pools(Language language);

// First names come in (male, female) pairs of the same position so that a
// surname can agree with them.
std::span<const std::u16string_view> first_names(Language language, bool female);
std::span<const std::u16string_view> surnames(Language language);
// Names people give close relations and places in their address book.
std::span<const std::u16string_view> nicknames(Language language);

struct Service {
    std::u16string_view sender;  // an alphanumeric sender id
    Language language;
    // Texts with placeholders: {n} a number of n digits (1-9), {money}, {shop}.
    std::span<const std::u16string_view> texts;
};
std::span<const Service> services();
std::span<const std::u16string_view> shops();

std::span<const std::u16string_view> emoji();

}  // namespace history_phrases
