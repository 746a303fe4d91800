#include "skin/elements/ElementFactory.h"

#include <map>

#include "skin/NodeAlreadyRegistered.h"
#include "skin/NodeNotRegistered.h"
#include "skin/elements/Element.h"

namespace {

// Kind name to creator; only the user-interface thread touches it.
std::map<std::u16string, ElementFactory::Create, std::less<>>& kinds() {
    static std::map<std::u16string, ElementFactory::Create, std::less<>> map;
    return map;
}

}  // namespace

void ElementFactory::register_kind(std::u16string_view name, Create create) {
    auto [it, added] = kinds().try_emplace(std::u16string(name), std::move(create));
    if (!added) throw NodeAlreadyRegistered(std::u16string(name));
}

void ElementFactory::unregister_kind(std::u16string_view name) {
    auto it = kinds().find(name);
    if (it != kinds().end()) kinds().erase(it);
}

bool ElementFactory::registered(std::u16string_view name) {
    return kinds().find(name) != kinds().end();
}

std::unique_ptr<Element> ElementFactory::create(std::u16string_view name) {
    auto it = kinds().find(name);
    if (it == kinds().end()) throw NodeNotRegistered(std::u16string(name));
    return it->second();
}
