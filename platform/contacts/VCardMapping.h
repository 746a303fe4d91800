#pragma once
// How one vCard becomes a contact record. The rules are meant to be simple and
// predictable; docs/contacts.md says the same for users.
//
//   N         family;given;additional;prefix;suffix -> last name, first name,
//             MiddleName, (prefix unused), Suffix
//   FN        -> FileAs (so the display name is the card's formatted name)
//   ORG       organisation;unit -> company, Department
//   TITLE     -> JobTitle          NICKNAME -> NickName
//   URL       -> WebPage (a preferred one first)
//   EMAIL     -> Email1..Email3, preferred ones first, then in file order
//   X-ASSISTANT (also X-MS-ASSISTANT, X-EVOLUTION-ASSISTANT, an Apple
//             X-ABRELATEDNAMES labelled "assistant") -> AssistantName
//   TEL       by its types (TYPE lists, bare 2.1 types, an Apple X-ABLabel of
//             the same group; "x-" and "x-evolution-" prefixes ignored):
//               fax + work               -> BusinessFax
//               fax (+ home or alone)    -> HomeFax
//               pager                    -> PagerNumber
//               cell, mobile, iphone     -> Mobile
//               assistant                -> AssistantTel
//               radio                    -> RadioTel
//               car                      -> CarTel
//               main, company(-main)     -> CompanyMainTel
//               work                     -> BusinessTel, then Business2Tel
//               home                     -> HomeTel, then Home2Tel
//               none of these (voice, other, text, no type)
//                                        -> Mobile, HomeTel, Home2Tel:
//                                           the first that is still free
//
// Numbers are placed preferred ones first (PREF, TYPE=pref, PREF=1), then in
// file order. Typed numbers are placed before untyped ones, so an untyped
// number written first cannot take the Mobile slot from a CELL number written
// after it. A number whose slots are taken is dropped, with one exception: a
// further mobile number joins the untyped ones, because a contact's second
// mobile is common and an SMS from it should still find the contact. An
// untyped or further mobile number that has the same digits as a number
// already placed is not placed twice. A "tel:" URI (4.0, VALUE=uri) loses its
// scheme and its URI parameters (";ext=...").
//
// A card with no name at all still gives a record (with empty names); the
// caller decides what an empty display name means.
#include "platform/contacts/ContactRecord.h"
#include "platform/contacts/VCard.h"
#include "platform/contacts/VCardDecoder.h"

// The record of a card; its id is left at -1 for the caller to set.
ContactRecord contact_from_vcard(const VCard& card, VCardDecoder& decoder);
