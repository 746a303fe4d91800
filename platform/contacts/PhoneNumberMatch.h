#pragma once
// Whether two phone numbers, written by different people in different ways,
// are the same number: "+7 912 345-67-89", "8 (912) 345 67 89" and
// "89123456789" are; "123" and "0123" are not.
//
// Only digits count. Numbers of fewer than seven digits (short codes, service
// numbers) match only when their digits are equal. Longer ones match when they
// end in at least the same seven digits and what precedes the common ending is
// nothing on at least one side (one number is the other with a prefix, or a
// local number without its area code), or is a trunk prefix ("0" or "8") on one
// side and a country code of one to three digits on the other, the country
// code optionally behind an international call prefix ("00", "011", "810").
// So "+44 20 7946 0958" matches "020 7946 0958", while "+33 1 23 45 67 89"
// does not match "+33 6 23 45 67 89", although both end in the same digits.
#include <string_view>

// 0 when the numbers do not match; otherwise a score that grows with the
// trailing digits they share, one more when all their digits are equal, so
// that among several matches the closest can be chosen.
int phone_number_match(std::u16string_view a, std::u16string_view b);
