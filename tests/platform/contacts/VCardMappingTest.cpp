#include <gtest/gtest.h>

#include "ContactTestData.h"
#include "platform/Utf16.h"
#include "platform/contacts/VCardMapping.h"

namespace {

using F = ContactField;
using Fields = std::vector<std::pair<ContactField, std::u16string>>;

// The record's fields in their order, as "Name=value" joined by "; ".
std::string fields_of(const ContactRecord& c) {
    std::string out;
    for (const auto& [field, value] : c.fields)
        out += (out.empty() ? "" : "; ") +
               utf16::to_utf8(contact_field_name(static_cast<int>(field))) + "=" +
               utf16::to_utf8(value);
    return out;
}

std::string card_with(const std::string& lines, const std::string& version = "3.0") {
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + lines + "END:VCARD\r\n";
}

TEST(VCardMapping, Version21FromAnAndroidPhoneInQuotedPrintableUtf8) {
    ContactRecord c = contact_of(read_test_card("android-21-utf8.vcf"));
    EXPECT_EQ(c.last_name, u"Иванов");
    EXPECT_EQ(c.first_name, u"Иван");
    EXPECT_EQ(c.company, u"");
    // The second mobile number is kept in the first free untyped slot.
    EXPECT_EQ(fields_of(c),
              "Mobile=+7 912 345-67-89; HomeTel=8 (343) 123-45-67; Home2Tel=+7 922 000-11-22; "
              "Email1=ivanov@example.ru; MiddleName=Иванович; FileAs=Иван Иванович Иванов");
}

TEST(VCardMapping, Version21InWindows1251WithABase64PhotoInTheMiddle) {
    ContactRecord c = contact_of(read_test_card("nokia-21-cp1251.vcf"));
    EXPECT_EQ(c.last_name, u"Петрова");
    EXPECT_EQ(c.first_name, u"Мария");
    EXPECT_EQ(c.company, u"ООО «Ромашка»");
    EXPECT_EQ(c.display_name(), u"Петрова Мария");
    EXPECT_EQ(fields_of(c),
              "Mobile=89161234567; BusinessTel=+7 (495) 111-22-33; Department=Бухгалтерия; "
              "JobTitle=Главный бухгалтер; BusinessFax=+7 (495) 111-22-34; "
              "PagerNumber=+7 495 000 00 00");
}

TEST(VCardMapping, Version30PhoneExportWithGroupsLabelsAndEscapes) {
    ContactRecord c = contact_of(read_test_card("iphone-30.vcf"));
    EXPECT_EQ(c.last_name, u"Appleseed");
    EXPECT_EQ(c.first_name, u"Johnny");
    EXPECT_EQ(c.company, u"Example Corp.");
    // A third work number has no slot left and is dropped.
    EXPECT_EQ(fields_of(c),
              "Mobile=+1 (408) 555-0101; BusinessTel=408-555-0104; Business2Tel=408-555-0105; "
              "HomeTel=(408) 555-0103; CompanyMainTel=+1 408 555 0102; "
              "Email1=johnny@home.example; Email2=johnny@work.example; "
              "WebPage=http://example.com/johnny; MiddleName=Q.; Suffix=Jr.; "
              "Department=Research, Development; JobTitle=Chief Orchard Officer; "
              "AssistantName=Jane Doe; BusinessFax=408-555-0107; FileAs=Johnny Appleseed");
}

TEST(VCardMapping, Version40WithTelUrisAFoldedNoteAndADataUriPhoto) {
    ContactRecord c = contact_of(read_test_card("carddav-40.vcf"));
    EXPECT_EQ(c.last_name, u"Lovelace");
    EXPECT_EQ(c.first_name, u"Ada");
    EXPECT_EQ(fields_of(c),
              "Mobile=+44-20-7946-0958; BusinessTel=+44-20-7946-0000; "
              "Business2Tel=+44-20-7946-0001; Email1=ada@example.org; MiddleName=Augusta; "
              "NickName=Countess; AssistantName=Charles Babbage; FileAs=Ada Lovelace");
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
    EXPECT_EQ(fields_of(nameless),
              "Mobile=+1 555 0100; HomeTel=+1 555 0101; Email1=someone@example.net");
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
    EXPECT_EQ(fields_of(contact_of(card_with("TEL:111\r\nTEL;TYPE=CELL:222\r\n"))),
              "Mobile=222; HomeTel=111");

    EXPECT_EQ(
        fields_of(contact_of(card_with(
            "TEL;TYPE=HOME:111\r\nTEL;TYPE=HOME;PREF=1:222\r\nTEL;TYPE=HOME:333\r\n", "4.0"))),
        "HomeTel=222; Home2Tel=111");

    // Untyped numbers fill Mobile, HomeTel, Home2Tel; a repeated number and
    // the fourth are left out.
    ContactRecord untyped = contact_of(card_with(
        "TEL:+7 912 000-00-01\r\nTEL:79120000001\r\nTEL:2\r\nTEL:3\r\nTEL:4\r\nEMAIL:a@x\r\n"
        "EMAIL;TYPE=PREF:b@x\r\nEMAIL:c@x\r\nEMAIL:d@x\r\n"));
    EXPECT_EQ(fields_of(untyped),
              "Mobile=+7 912 000-00-01; HomeTel=2; Home2Tel=3; Email1=b@x; Email2=a@x; Email3=c@x");
}

}  // namespace
