#include <gtest/gtest.h>

#include "ContactTestData.h"
#include "platform/contacts/VCardMapping.h"

namespace {

using F = ContactField;
using Fields = std::vector<std::pair<ContactField, std::u16string>>;

std::string card_with(const std::string& lines, const std::string& version = "3.0") {
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + lines + "END:VCARD\r\n";
}

TEST(VCardMapping, Version21FromAnAndroidPhoneInQuotedPrintableUtf8) {
    ContactRecord c = contact_of(read_test_card("android-21-utf8.vcf"));
    EXPECT_EQ(c.last_name, u"Иванов");
    EXPECT_EQ(c.first_name, u"Иван");
    EXPECT_EQ(c.company, u"");
    // The second mobile number is kept in the first free untyped slot.
    EXPECT_EQ(c.fields, (Fields{{F::Mobile, u"+7 912 345-67-89"},
                                {F::HomeTel, u"8 (343) 123-45-67"},
                                {F::Home2Tel, u"+7 922 000-11-22"},
                                {F::Email1, u"ivanov@example.ru"},
                                {F::MiddleName, u"Иванович"},
                                {F::FileAs, u"Иван Иванович Иванов"}}));
}

TEST(VCardMapping, Version21InWindows1251WithABase64PhotoInTheMiddle) {
    ContactRecord c = contact_of(read_test_card("nokia-21-cp1251.vcf"));
    EXPECT_EQ(c.last_name, u"Петрова");
    EXPECT_EQ(c.first_name, u"Мария");
    EXPECT_EQ(c.company, u"ООО «Ромашка»");
    EXPECT_EQ(c.display_name(), u"Петрова Мария");
    EXPECT_EQ(c.fields, (Fields{{F::Mobile, u"89161234567"},
                                {F::BusinessTel, u"+7 (495) 111-22-33"},
                                {F::Department, u"Бухгалтерия"},
                                {F::JobTitle, u"Главный бухгалтер"},
                                {F::BusinessFax, u"+7 (495) 111-22-34"},
                                {F::PagerNumber, u"+7 495 000 00 00"}}));
}

TEST(VCardMapping, Version30PhoneExportWithGroupsLabelsAndEscapes) {
    ContactRecord c = contact_of(read_test_card("iphone-30.vcf"));
    EXPECT_EQ(c.last_name, u"Appleseed");
    EXPECT_EQ(c.first_name, u"Johnny");
    EXPECT_EQ(c.company, u"Example Corp.");
    // A third work number has no slot left and is dropped.
    EXPECT_EQ(c.fields, (Fields{{F::Mobile, u"+1 (408) 555-0101"},
                                {F::BusinessTel, u"408-555-0104"},
                                {F::Business2Tel, u"408-555-0105"},
                                {F::HomeTel, u"(408) 555-0103"},
                                {F::CompanyMainTel, u"+1 408 555 0102"},
                                {F::Email1, u"johnny@home.example"},
                                {F::Email2, u"johnny@work.example"},
                                {F::WebPage, u"http://example.com/johnny"},
                                {F::MiddleName, u"Q."},
                                {F::Suffix, u"Jr."},
                                {F::Department, u"Research, Development"},
                                {F::JobTitle, u"Chief Orchard Officer"},
                                {F::AssistantName, u"Jane Doe"},
                                {F::BusinessFax, u"408-555-0107"},
                                {F::FileAs, u"Johnny Appleseed"}}));
}

TEST(VCardMapping, Version40WithTelUrisAFoldedNoteAndADataUriPhoto) {
    ContactRecord c = contact_of(read_test_card("carddav-40.vcf"));
    EXPECT_EQ(c.last_name, u"Lovelace");
    EXPECT_EQ(c.first_name, u"Ada");
    EXPECT_EQ(c.fields, (Fields{{F::Mobile, u"+44-20-7946-0958"},
                                {F::BusinessTel, u"+44-20-7946-0000"},
                                {F::Business2Tel, u"+44-20-7946-0001"},
                                {F::Email1, u"ada@example.org"},
                                {F::MiddleName, u"Augusta"},
                                {F::NickName, u"Countess"},
                                {F::AssistantName, u"Charles Babbage"},
                                {F::FileAs, u"Ada Lovelace"}}));
}

TEST(VCardMapping, NamesInOtherScriptsAndACardWithoutAnyName) {
    ContactRecord cjk = contact_of(read_test_card("cjk.vcf"));
    EXPECT_EQ(cjk.last_name, u"山田");
    EXPECT_EQ(cjk.first_name, u"太郎");
    EXPECT_EQ(cjk.company, u"株式会社サンプル");
    EXPECT_EQ(cjk.field(F::Mobile), u"090-1234-5678");

    ContactRecord accents = contact_of(read_test_card("accents.vcf"));
    EXPECT_EQ(accents.last_name, u"Müller-Lüdenscheidt");
    EXPECT_EQ(accents.first_name, u"José");
    EXPECT_EQ(accents.company, u"Café Économique");
    EXPECT_EQ(accents.field(F::HomeTel), u"+49 30 1234567");

    ContactRecord nameless = contact_of(read_test_card("no-name.vcf"));
    EXPECT_EQ(nameless.display_name(), u"");
    EXPECT_EQ(nameless.fields, (Fields{{F::Mobile, u"+1 555 0100"},
                                       {F::HomeTel, u"+1 555 0101"},
                                       {F::Email1, u"someone@example.net"}}));
}

TEST(VCardMapping, TelephoneTypesInTheirSpellingsFindTheirFields) {
    struct Case {
        const char* line;
        ContactField field;
    } cases[] = {
        {"TEL;TYPE=CELL:1", F::Mobile},
        {"TEL;CELL:1", F::Mobile},
        {"TEL;type=mobile:1", F::Mobile},
        {"item1.TEL:1\r\nitem1.X-ABLabel:_$!<Mobile>!$_", F::Mobile},
        {"TEL;TYPE=WORK,VOICE:1", F::BusinessTel},
        {"TEL;WORK:1", F::BusinessTel},
        {"TEL;TYPE=\"home,voice\":1", F::HomeTel},
        {"TEL;TYPE=CAR:1", F::CarTel},
        {"TEL;TYPE=X-RADIO:1", F::RadioTel},
        {"TEL;TYPE=X-EVOLUTION-RADIO:1", F::RadioTel},
        {"TEL;TYPE=X-COMPANY-MAIN:1", F::CompanyMainTel},
        {"TEL;TYPE=X-COMPANY_MAIN:1", F::CompanyMainTel},
        {"TEL;TYPE=MAIN:1", F::CompanyMainTel},
        {"TEL;X-ASSISTANT:1", F::AssistantTel},
        {"TEL;TYPE=FAX,WORK:1", F::BusinessFax},
        {"TEL;FAX;HOME:1", F::HomeFax},
        {"TEL;TYPE=fax:1", F::HomeFax},
        {"item2.TEL:1\r\nitem2.X-ABLabel:_$!<WorkFAX>!$_", F::BusinessFax},
        {"TEL;TYPE=PAGER:1", F::PagerNumber},
        {"TEL;VOICE:1", F::Mobile},
        {"TEL;TYPE=OTHER:1", F::Mobile},
        {"TEL:tel:1;ext=2", F::Mobile},
    };
    for (const Case& c : cases) {
        ContactRecord record = contact_of(card_with(std::string(c.line) + "\r\n"));
        EXPECT_EQ(record.fields, (Fields{{c.field, u"1"}})) << c.line;
    }
}

TEST(VCardMapping, NumbersArePlacedPreferredFirstTypedBeforeUntyped) {
    ContactRecord untyped_first = contact_of(card_with("TEL:111\r\nTEL;TYPE=CELL:222\r\n"));
    EXPECT_EQ(untyped_first.fields, (Fields{{F::Mobile, u"222"}, {F::HomeTel, u"111"}}));

    ContactRecord preferred = contact_of(
        card_with("TEL;TYPE=HOME:111\r\nTEL;TYPE=HOME;PREF=1:222\r\nTEL;TYPE=HOME:333\r\n", "4.0"));
    EXPECT_EQ(preferred.fields, (Fields{{F::HomeTel, u"222"}, {F::Home2Tel, u"111"}}));

    // Untyped numbers fill Mobile, HomeTel, Home2Tel; a repeated number and
    // the fourth are left out.
    ContactRecord untyped = contact_of(card_with(
        "TEL:+7 912 000-00-01\r\nTEL:79120000001\r\nTEL:2\r\nTEL:3\r\nTEL:4\r\nEMAIL:a@x\r\n"
        "EMAIL;TYPE=PREF:b@x\r\nEMAIL:c@x\r\nEMAIL:d@x\r\n"));
    EXPECT_EQ(untyped.fields, (Fields{{F::Mobile, u"+7 912 000-00-01"},
                                      {F::HomeTel, u"2"},
                                      {F::Home2Tel, u"3"},
                                      {F::Email1, u"b@x"},
                                      {F::Email2, u"a@x"},
                                      {F::Email3, u"c@x"}}));
}

}  // namespace
