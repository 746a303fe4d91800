#pragma once
// SMS backup files written on phones store a character outside the Basic
// Multilingual Plane (most emoji) as two numeric character references, one for
// each UTF-16 surrogate half ("&#55357;&#56832;" for U+1F600). XML forbids
// references to surrogates, so a conforming parser rejects such files.
#include <string>
#include <string_view>

// Returns xml with every reference pair of a high and a directly following low
// surrogate replaced by one reference to the character they encode, and every
// other reference to a surrogate replaced by a reference to U+FFFD. Nothing else
// changes: other references, comments, CDATA sections and processing
// instructions are copied as they are, and no line break is added or removed,
// so the parser's line numbers still match the file.
std::string join_surrogate_references(std::string_view xml);
