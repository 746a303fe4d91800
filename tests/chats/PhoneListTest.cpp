#include <gtest/gtest.h>

#include "chats/PhoneList.h"

namespace {

ContactRecord contact(int32_t id, std::u16string last, std::u16string first = u"") {
    ContactRecord c;
    c.id = id;
    c.last_name = std::move(last);
    c.first_name = std::move(first);
    return c;
}

TEST(PhoneList, OneEntryPerKeyTheLaterNumberWins) {
    PhoneList list;
    ContactRecord anna = contact(1, u"Petrova", u"Anna");
    anna.set_field(ContactField::Mobile, u"+7 912 345-67-89");
    anna.set_field(ContactField::HomeTel, u"89123456789");
    anna.set_field(ContactField::Business2Tel, u"+7 495 111-22-33");  // never used
    ASSERT_TRUE(list.add_contact(anna));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.entries()[0],
              (PhoneEntry{u"Petrova Anna", u"89123456789", u"home", u"3456789", 1, 0}));

    // Another contact with the same number takes the entry over in place.
    ContactRecord shop = contact(2, u"");
    shop.company = u"Shop";
    shop.set_field(ContactField::BusinessTel, u"345-67-89");
    shop.set_field(ContactField::Mobile, u"+1 555 0100");
    ASSERT_TRUE(list.add_contact(shop));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list.entries()[0].name, u"Shop");
    EXPECT_EQ(list.entries()[0].label, u"business");
    EXPECT_EQ(list.find(u"5550100"), 1);

    EXPECT_FALSE(list.add_contact(contact(3, u"")));  // no display name
    list.remove_contact(2);
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.find(u"3456789"), -1);
}

TEST(PhoneList, SelectPutsTheChatFirstThenSortsByDisplayText) {
    PhoneList list;
    list.add({u"Boris", u"111", u"", u"111", 5, 0});
    list.add({u"", u"999", u"", u"999", -1, 0});
    list.add({u"Anna", u"333", u"", u"333", 6, 0});
    list.add({u"Anna", u"222", u"", u"222", 7, 0});
    list.select(u"111");
    std::vector<std::u16string> order;
    for (const PhoneEntry& e : list.entries()) order.push_back(e.number);
    // Code-unit order: digits come before letters; equal names by number.
    EXPECT_EQ(order, (std::vector<std::u16string>{u"111", u"999", u"222", u"333"}));
    EXPECT_EQ(list.entries()[0].selected, 1);
    EXPECT_EQ(list.find(u"333"), 3);  // the index follows the new order
    list.select(u"");
    for (const PhoneEntry& e : list.entries()) EXPECT_EQ(e.selected, 0);

    EXPECT_EQ(list.find_or_add(PhoneList::from_typed(u"+7 (999) 000-11-22")), 4u);
    EXPECT_EQ(list.find_or_add(PhoneList::from_typed(u"89990001122")), 4u);
    PhoneEntry named = PhoneList::from_typed(u"BANK");
    EXPECT_EQ(named.name, u"BANK");
    EXPECT_EQ(named.key, u"BANK");
    EXPECT_TRUE(named.number.empty());
    EXPECT_EQ(named.contact_id, -1);
}

}  // namespace
