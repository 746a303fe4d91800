#pragma once
// The hand-written cards of data/ and a one-call parse for the tests.
#include <string>

#include "platform/contacts/VCardDecoder.h"
#include "platform/contacts/VCardMapping.h"
#include "platform/contacts/VCardParser.h"
#include "support/Files.h"

inline std::string test_card_path(const std::string& name) {
    return std::string(CONTACTS_TEST_DATA) + "/" + name;
}

inline std::string read_test_card(const std::string& name) {
    return read_file(test_card_path(name));
}

// The record of the text's first card (an empty record when it has none).
inline ContactRecord contact_of(const std::string& text) {
    VCardParser parser;
    VCardDecoder decoder;
    ContactRecord record;
    bool done = false;
    parser.parse(text, [&](const VCard& card) {
        if (!done) record = contact_from_vcard(card, decoder);
        done = true;
    });
    return record;
}
