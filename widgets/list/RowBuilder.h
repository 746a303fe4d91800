#pragma once
// Builds a list row from a named skin node, of the kind the node's "type"
// names (a plain container when it names none).
#include <memory>
#include <string_view>

class Element;
class Properties;

namespace row_builder {

// The row, or null with one log line when the skin has no such node or the
// node cannot be built.
std::unique_ptr<Element> build(Properties& properties, std::u16string_view node_name);

}  // namespace row_builder
