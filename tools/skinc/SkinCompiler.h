#pragma once
// Compiles the readable skin source into the binary skin file.
//
// Source (JSON, UTF-8):
//   {"named": {NAME: NODE, ...}}
//   NODE = {"integers": {NAME: INT},
//           "fonts":    {NAME: {"size": 12, "bold": false, "italic": false,
//                               "underline": false, "face": "Tahoma"}},
//           "points":   {NAME: [X, Y]},
//           "strings":  {NAME: "text"},
//           "pictures": {NAME: {"file": "bubble", "p": [[X,Y],[X,Y],[X,Y],[X,Y]], "flag": 0}},
//           "colors":   {NAME: [R, G, B]}            (a fourth value is ignored)
//           "children": [NODE, ...]}
// Every member is optional; font members default as shown. "file" names a
// picture of the skin's folder without its extension: a relative path with
// "/" between folders, no empty, "." or ".." part and no "\", so that it
// names the same file for skinc and for the loader and stays in the folder.
// The shape is the one `skinc --dump` prints, so a dump compiles back to an
// equal file.
//
// The output honours the ordering rules of the format: sections sorted by
// name, the named-node index a balanced search tree in name order, every
// attribute name among the first 65,536 bytes, each node's sections within
// 65,535 bytes of its start. Values that do not fit their field (a point
// beyond 16 bits, more than 256 pictures, more than 65,536 different string
// values) are errors, not truncated. So is a NUL in any name or text, which
// would end that string in the file early.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/skinc/JsonValue.h"

namespace skin_compiler {

struct Output {
    std::vector<uint8_t> bytes;
    // The picture files in picture-list order, as written in the source.
    std::vector<std::string> pictures;
};

// The skin for source, or nothing with *error set to one line.
std::optional<Output> compile(const JsonValue& source, std::string* error);

}  // namespace skin_compiler
