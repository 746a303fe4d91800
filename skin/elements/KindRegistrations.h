#pragma once
// Element kinds registered with the ElementFactory for as long as this lives:
// they are removed in the reverse order when it goes. As a member of the
// object that registers them, it also takes back the kinds added before a
// registration that failed (NodeAlreadyRegistered), since a member that was
// fully built is destroyed when its owner's constructor throws.
#include <string>
#include <string_view>
#include <vector>

#include "skin/elements/ElementFactory.h"

class KindRegistrations {
public:
    KindRegistrations() = default;
    ~KindRegistrations();
    KindRegistrations(const KindRegistrations&) = delete;
    KindRegistrations& operator=(const KindRegistrations&) = delete;

    // Registers T under name; throws NodeAlreadyRegistered when it is taken.
    template <typename T>
    void add(std::u16string_view name) {
        ElementFactory::register_kind<T>(name);
        names_.emplace_back(name);
    }

private:
    std::vector<std::u16string> names_;
};
