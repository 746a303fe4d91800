#pragma once
// Splitting a file of vCards (an address book export) into the contacts
// folder, one card a file, as AddressBook::import_cards promises.
//
// A card's file is named after its UID ("urn:uuid:" dropped; every byte other
// than letters, digits and "-_.@+" replaced by "_", leading dots dropped, at
// most 96 bytes), or "import-<hash of the card>" when it has none. ".vcf"
// follows; when that name is taken, "-2", "-3", ... go before it. Each card
// is written to a hidden temporary file, synced, and renamed into place with
// RENAME_NOREPLACE, so an existing file is never overwritten, not even one
// created by another program during the import, and watchers see each file
// appear whole. The card's text is written as it came.
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
