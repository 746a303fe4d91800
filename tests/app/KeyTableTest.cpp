// The handset's key table: which key gives which program code, and the way
// back that scripted key presses take.
#include <gtest/gtest.h>

#include "app/KeyTable.h"

TEST(KeyTable, KeysGiveTheHandsetsCodes) {
    EXPECT_EQ(KeyTable::from_virtual_key(112), KeyCode::SoftLeft);   // F1
    EXPECT_EQ(KeyTable::from_virtual_key(113), KeyCode::SoftRight);  // F2
    EXPECT_EQ(KeyTable::from_virtual_key(114), KeyCode::CallMake);   // F3
    EXPECT_EQ(KeyTable::from_virtual_key(115), KeyCode::CallEnd);    // F4
    EXPECT_EQ(KeyTable::from_virtual_key(116), KeyCode::None);       // F5 is no key of ours
    EXPECT_EQ(KeyTable::from_virtual_key(117), KeyCode::VolumeUp);
    EXPECT_EQ(KeyTable::from_virtual_key(118), KeyCode::VolumeDown);
    EXPECT_EQ(KeyTable::from_virtual_key(119), KeyCode::Star);
    EXPECT_EQ(KeyTable::from_virtual_key(120), KeyCode::Hash);
    EXPECT_EQ(KeyTable::from_virtual_key(27), KeyCode::Backspace);  // escape is the back key
    EXPECT_EQ(KeyTable::from_virtual_key(8), KeyCode::Backspace);
    EXPECT_EQ(KeyTable::from_virtual_key(37), KeyCode::Left);
    EXPECT_EQ(KeyTable::from_virtual_key(38), KeyCode::Up);
    EXPECT_EQ(KeyTable::from_virtual_key(39), KeyCode::Right);
    EXPECT_EQ(KeyTable::from_virtual_key(40), KeyCode::Down);
    EXPECT_EQ(KeyTable::from_virtual_key(93), KeyCode::ContextMenu);
    EXPECT_EQ(KeyTable::from_virtual_key(65), KeyCode::A);
    EXPECT_EQ(KeyTable::from_virtual_key(90), KeyCode::Z);
    EXPECT_EQ(KeyTable::from_virtual_key(48), KeyCode::Digit0);
    EXPECT_EQ(KeyTable::from_virtual_key(57), KeyCode::Digit9);
    for (int32_t outside : {0, 47, 58, 64, 91, 97, 121, 255, -1})
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
