#pragma once
// The chat key: which conversation a message belongs to. Two numbers share a
// chat exactly when their keys are equal (case-sensitive), so a number written
// with the country prefix (+7 912 ...) and the same number with the trunk
// prefix (8 912 ...) fall into one chat.
#include <string>
#include <string_view>

#include "messaging/SmsRecord.h"

// Up to the last seven decimal digits of the number, in their order; every
// other character is skipped. "+7 (912) 345-67-89" and "89123456789" both give
// "3456789"; "123" gives "123" and "0123" gives "0123"; letters only give "".
std::u16string chat_key(std::u16string_view number);

// The phone number a delivery report's text speaks of, or "" when it names
// none. Runs of digits are collected ('+' only as a run's first character;
// a space, '+', '-', '(' or ')' inside a run is skipped); the longest valid run
// wins, the first of equally long ones. A run is valid when its key has three
// digits or more, but not exactly four (a four-digit run is usually a year or
// a time, never a phone number).
std::u16string report_number(std::u16string_view body);

// Who a chat is with.
struct ChatIdentity {
    std::u16string name;
    std::u16string number;
    std::u16string key;
};

// The key of a correspondent: the chat key of the number; the number itself
// when it has no digit (an alphanumeric sender such as "BANK"); the name when
// the number is empty. "" only when both are empty.
std::u16string correspondent_key(std::u16string_view name, std::u16string_view number);

// The correspondent of a new chat made from a record. A delivery report
// belongs to the number its text names (name empty); any other record, or a
// report that names no valid number, to its correspondent.
ChatIdentity chat_identity(const SmsRecord& record);
