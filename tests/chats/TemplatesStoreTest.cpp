#include <gtest/gtest.h>

#include "chats/TemplatesStore.h"
#include "lang/Dictionary.h"
#include "lang/LangFiles.h"
#include "platform/Registry.h"
#include "support/TestDevice.h"

namespace {

using List = std::vector<std::u16string>;

const RegistryPath kKey(TemplatesStore::kSettingsKey);

// A dictionary whose "DefaultTemplates" is defaults (none when null).
Dictionary language(const TestDevice& device, const char16_t* defaults) {
    std::u16string text = u"Cancel=Cancel\r\n";
    if (defaults != nullptr) text += u"DefaultTemplates=" + std::u16string(defaults) + u"\r\n";
    write_file(device.program() / "english.lng", utf16_file(text));
    Dictionary dictionary;
    EXPECT_TRUE(dictionary.load(u"%app_path%/english.lng"));
    return dictionary;
}

std::u16string stored() {
    std::u16string value = u"<absent>";
    registry::read_string(kKey, TemplatesStore::kValueName, value);
    return value;
}

TEST(TemplatesStore, SplitsAtEverySlashKeepingInnerEmptyParts) {
    EXPECT_EQ(TemplatesStore::split(u"x//y"), (List{u"x", u"", u"y"}));
    EXPECT_EQ(TemplatesStore::split(u"a/b/"), (List{u"a", u"b"}));
    EXPECT_EQ(TemplatesStore::split(u"/"), (List{u""}));
    EXPECT_EQ(TemplatesStore::split(u"/a"), (List{u"", u"a"}));
    EXPECT_EQ(TemplatesStore::split(u""), List{});
}

TEST(TemplatesStore, UserTemplatesComeFirstAndOnlyTheyAreWritten) {
    TestDevice device;
    Dictionary dictionary = language(device, u"OK/Thanks!");
    ASSERT_TRUE(TemplatesStore::save({u"a/b", u"Call me", u"OK", u"Thanks!"}, 2));
    EXPECT_EQ(stored(), u"a/b/Call me");
    TemplatesStore::Templates loaded = TemplatesStore::load(dictionary);
    EXPECT_EQ(loaded.list, (List{u"a", u"b", u"Call me", u"OK", u"Thanks!"}));
    EXPECT_EQ(loaded.user_count, 3u);
    EXPECT_FALSE(TemplatesStore::storable(u"a/b"));
    EXPECT_TRUE(TemplatesStore::storable(u"On my way"));

    ASSERT_TRUE(registry::write_string(kKey, TemplatesStore::kValueName, u"x//y"));
    loaded = TemplatesStore::load(dictionary);
    EXPECT_EQ(loaded.list, (List{u"x", u"", u"y", u"OK", u"Thanks!"}));
    EXPECT_EQ(loaded.user_count, 3u);

    // The user removed their last template: only defaults remain, the value goes.
    ASSERT_TRUE(TemplatesStore::save({u"OK", u"Thanks!"}, 0));
    EXPECT_EQ(stored(), u"<absent>");
    loaded = TemplatesStore::load(dictionary);
    EXPECT_EQ(loaded.list, (List{u"OK", u"Thanks!"}));
    EXPECT_EQ(loaded.user_count, 0u);
    // Saving with nothing stored is no failure either.
    EXPECT_TRUE(TemplatesStore::save(loaded.list, 0));
    EXPECT_EQ(stored(), u"<absent>");

    // A language without defaults adds none; a value that is no text is none.
    dictionary = language(device, nullptr);
    ASSERT_TRUE(registry::write_number(kKey, TemplatesStore::kValueName, 5));
    loaded = TemplatesStore::load(dictionary);
    EXPECT_TRUE(loaded.list.empty());
    EXPECT_EQ(loaded.user_count, 0u);
}

}  // namespace
