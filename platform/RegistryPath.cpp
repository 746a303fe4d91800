#include "platform/RegistryPath.h"

RegistryPath::RegistryPath(std::u16string_view path) {
    // Matched as a case-sensitive prefix of exactly the root name's length, in
    // this order. "HKEY_CURRENT_CONFIG" is deliberately not a root here.
    static constexpr std::u16string_view kRoots[] = {u"HKEY_CLASSES_ROOT", u"HKEY_LOCAL_MACHINE",
                                                     u"HKEY_USERS", u"HKEY_CURRENT_USER"};
    for (std::u16string_view root : kRoots) {
        if (!path.starts_with(root)) continue;
        root_ = root;
        // The sub-key is everything behind the root name and the one character
        // that follows it.
        if (path.size() > root.size() + 1) sub_key_ = path.substr(root.size() + 1);
        return;
    }
}

std::u16string RegistryPath::full() const {
    return sub_key_.empty() ? root_ : root_ + u"\\" + sub_key_;
}
