#include <gtest/gtest.h>

#include "platform/contacts/ContactRecord.h"

namespace {

TEST(ContactRecord, DisplayNameFallsBackFromFileAsToNamesToCompany) {
    ContactRecord c;
    c.company = u"Acme";
    EXPECT_EQ(c.display_name(), u"Acme");
    c.first_name = u"Ann";
    EXPECT_EQ(c.display_name(), u"Ann");
    c.last_name = u"Lee";
    EXPECT_EQ(c.display_name(), u"Lee Ann");
    c.first_name.clear();
    EXPECT_EQ(c.display_name(), u"Lee");
    c.set_field(ContactField::FileAs, u"Dr. Lee");
    EXPECT_EQ(c.display_name(), u"Dr. Lee");
}

TEST(ContactRecord, FieldsStayInTypeOrderAndEmptyTextRemoves) {
    ContactRecord c;
    c.set_field(ContactField::HomeTel, u"3");
    c.set_field(ContactField::Mobile, u"1");
    c.set_field(ContactField::FileAs, u"x");
    c.set_field(ContactField::HomeTel, u"33");
    c.set_field(ContactField::Mobile, u"");
    ASSERT_EQ(c.fields.size(), 2u);
    EXPECT_EQ(c.fields[0].first, ContactField::HomeTel);
    EXPECT_EQ(c.field(ContactField::HomeTel), u"33");
    EXPECT_EQ(c.field(ContactField::Mobile), u"");
    EXPECT_EQ(std::u16string(contact_field_name(0)), u"Mobile");
    EXPECT_EQ(std::u16string(contact_field_name(23)), u"Unknown");
    EXPECT_EQ(std::u16string(contact_field_name(-1)), u"Unknown");
}

}  // namespace
