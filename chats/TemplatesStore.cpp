#include "chats/TemplatesStore.h"

#include "lang/Dictionary.h"
#include "platform/Log.h"
#include "platform/Registry.h"

std::vector<std::u16string> TemplatesStore::split(std::u16string_view text) {
    std::vector<std::u16string> parts;
    while (!text.empty()) {
        size_t slash = text.find(u'/');
        parts.emplace_back(text.substr(0, slash));
        text.remove_prefix(slash == text.npos ? text.size() : slash + 1);
    }
    return parts;
}

TemplatesStore::Templates TemplatesStore::load(const Dictionary& dictionary) {
    Templates templates;
    std::u16string stored;
    if (!registry::read_string(kSettingsKey, kValueName, stored)) stored.clear();
    templates.list = split(stored);
    templates.user_count = templates.list.size();
    if (const std::u16string* defaults = dictionary.find(kDefaultsKey))
        for (std::u16string& part : split(*defaults)) templates.list.push_back(std::move(part));
    return templates;
}

bool TemplatesStore::save(const std::vector<std::u16string>& list, size_t user_count) {
    if (user_count > list.size()) fatal(u"user count beyond the list", u"TemplatesStore::save()");
    if (user_count == 0) {
        // Deleting a value that is already gone is no failure.
        if (registry::delete_value(kSettingsKey, kValueName) ||
            !registry::read_raw(kSettingsKey, kValueName))
            return true;
        log() << u"save_templates: cannot delete the value\n";
        return false;
    }
    std::u16string joined = list[0];
    for (size_t i = 1; i < user_count; ++i) joined += u'/' + list[i];
    if (registry::write_string(kSettingsKey, kValueName, joined)) return true;
    log() << u"save_templates: cannot write the value\n";
    return false;
}
