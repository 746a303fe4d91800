#pragma once
// The process-wide register of element kinds: a skin node's "type" names the
// kind, and the factory makes a new, empty element of it. Kinds are registered
// once at start (see ElementKinds) and removed at shutdown; adding a kind is
// one register_kind call.
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class Element;

class ElementFactory {
public:
    using Create = std::function<std::unique_ptr<Element>()>;

    // Throws NodeAlreadyRegistered(name) when name is registered already.
    static void register_kind(std::u16string_view name, Create create);
    // The usual creator: a default-constructed T.
    template <typename T>
    static void register_kind(std::u16string_view name) {
        register_kind(name, [] { return std::unique_ptr<Element>(new T()); });
    }
    // Removing a name that is not registered does nothing.
    static void unregister_kind(std::u16string_view name);
    static bool registered(std::u16string_view name);

    // A new element of that kind, owned by the caller. Throws
    // NodeNotRegistered(name) for a name that is not registered, the empty
    // name included.
    static std::unique_ptr<Element> create(std::u16string_view name);
};
