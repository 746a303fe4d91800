#pragma once
// Splitting a file of vCards (an address book export) into the contacts
// folder, one card a file, as AddressBook::import_cards promises.
//
// Everything is checked before the first file is written:
// - a card that the address book would not read (no END:VCARD, larger than
//   contact_files::kMaxFileSize) or that holds nothing besides the bookkeeping
//   of sync tools (PRODID, UID, REV) is refused;
// - a card whose UID a contact file holds already, or, without a UID, whose
//   text a contact file holds already, is already there and is not written
//   again, so importing the same file twice, or once more after an import
//   that was killed, never duplicates a contact;
// - a card that repeats an earlier card of the file byte for byte is already
//   there too; two different cards with one UID make the whole import fail,
//   since a folder that sync tools mirror can hold only one of them.
// The cards left are then written as one ContactFileBatch.
//
// A card's file is named after its UID ("urn:uuid:" dropped; every byte other
// than letters, digits and "-_.@+" replaced by "_", leading dots dropped, at
// most 96 bytes), or "import-<hash of the card>" when it has none; the batch
// adds "-2", "-3", ... when that name is taken. The card's text is written as
// it came (as UTF-8 when the file was UTF-16).
#include <string>
#include <string_view>

#include "platform/contacts/AddressBook.h"
#include "platform/contacts/VCardDecoder.h"
#include "platform/contacts/VCardParser.h"

bool import_vcards(const std::string& folder, std::string_view bytes, VCardParser& parser,
                   VCardDecoder& decoder, AddressBook::ImportResult& result, std::string* error);

// The base of a card's file name (without ".vcf") made from its UID; empty
// when nothing usable is left of it.
std::string file_name_from_uid(std::string_view uid);
