#pragma once
// One contact of the address book as the program reads it: its object id,
// first and last name, company, and the typed fields it has.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The typed fields, numbered as the address book numbers them.
enum class ContactField : int {
    Mobile = 0,
    BusinessTel = 1,
    Business2Tel = 2,
    HomeTel = 3,
    Home2Tel = 4,
    CarTel = 5,
    RadioTel = 6,
    CompanyMainTel = 7,
    AssistantTel = 8,
    Email1 = 9,
    Email2 = 10,
    Email3 = 11,
    WebPage = 12,
    MiddleName = 13,
    Suffix = 14,
    NickName = 15,
    Department = 16,
    JobTitle = 17,
    AssistantName = 18,
    BusinessFax = 19,
    HomeFax = 20,
    PagerNumber = 21,
    FileAs = 22,
};
constexpr int kContactFieldCount = 23;

// The program's name of a field type ("Mobile", ...); "Unknown" for any
// number outside 0..22.
const char16_t* contact_field_name(int type);

struct ContactRecord {
    int32_t id = -1;
    std::u16string first_name;
    std::u16string last_name;
    std::u16string company;
    // One entry per field the contact has, in field-type order; no empty texts.
    std::vector<std::pair<ContactField, std::u16string>> fields;

    // The field's text, or an empty text when the contact lacks it.
    const std::u16string& field(ContactField type) const;
    // Sets (or, with an empty text, removes) a field, keeping type order.
    void set_field(ContactField type, std::u16string text);

    // FileAs; else "last first" (the space only when both are there); else the
    // company.
    std::u16string display_name() const;
};
