#pragma once
// The hand-written cards of data/ and a one-call parse for the tests.
#include <fstream>
#include <iterator>
#include <string>

#include "platform/contacts/VCardDecoder.h"
#include "platform/contacts/VCardMapping.h"
#include "platform/contacts/VCardParser.h"

inline std::string test_card_path(const std::string& name) {
    return std::string(CONTACTS_TEST_DATA) + "/" + name;
}

inline std::string read_test_card(const std::string& name) {
    std::ifstream in(test_card_path(name), std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
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
