// The handset's key table: which key gives which program code, and the way
// back that scripted key presses take.
#include <gtest/gtest.h>

#include <utility>

#include "app/KeyTable.h"

TEST(KeyTable, KeysGiveTheHandsetsCodes) {
    // F1 to F4 are the soft and call keys; escape is the back key.
    const std::pair<int32_t, KeyCode> table[] = {
        {112, KeyCode::SoftLeft}, {113, KeyCode::SoftRight}, {114, KeyCode::CallMake},
        {115, KeyCode::CallEnd},  {117, KeyCode::VolumeUp},  {118, KeyCode::VolumeDown},
        {119, KeyCode::Star},     {120, KeyCode::Hash},      {27, KeyCode::Backspace},
        {8, KeyCode::Backspace},  {37, KeyCode::Left},       {38, KeyCode::Up},
        {39, KeyCode::Right},     {40, KeyCode::Down},       {93, KeyCode::ContextMenu},
        {65, KeyCode::A},         {90, KeyCode::Z},          {48, KeyCode::Digit0},
        {57, KeyCode::Digit9}};
    for (auto [key, code] : table) EXPECT_EQ(KeyTable::from_virtual_key(key), code) << key;
    // F5 is no key of ours.
    for (int32_t outside : {0, 47, 58, 64, 91, 97, 116, 121, 255, -1})
        EXPECT_EQ(KeyTable::from_virtual_key(outside), KeyCode::None) << outside;
}

TEST(KeyTable, EveryCodeAKeyGivesHasAKeyForScripts) {
    for (int32_t n = 1; n < key_codes::kCount; ++n) {
        auto code = static_cast<KeyCode>(n);
        std::optional<int32_t> key = KeyTable::virtual_key_for(code);
        if (code == KeyCode::Esc || code == KeyCode::Slide) {
            EXPECT_FALSE(key) << n;
            continue;
        }
        ASSERT_TRUE(key) << n;
        EXPECT_EQ(KeyTable::from_virtual_key(*key), code) << n;
    }
    EXPECT_EQ(KeyTable::virtual_key_for(KeyCode::Backspace), 8);
}
