#include "platform/contacts/VCardMapping.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <utility>

namespace {

using Slots = std::array<std::u16string, kContactFieldCount>;

// What a TEL's types (and labels) say about it.
struct TelTags {
    bool cell = false, work = false, home = false, fax = false, pager = false, car = false,
         radio = false, main = false, assistant = false;
};

enum class TelKind {
    Mobile,
    Work,
    Home,
    Car,
    Radio,
    CompanyMain,
    Assistant,
    WorkFax,
    HomeFax,
    Pager,
    Untyped
};

struct Tel {
    std::u16string number;
    TelKind kind;
    bool preferred;
};

// Lower-cased, "x-evolution-" or "x-" dropped, "_" read as "-".
std::string normalised_type(std::string_view type) {
    std::string t;
    t.reserve(type.size());
    for (char c : type) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        t.push_back(c == '_' ? '-' : c);
    }
    for (std::string_view prefix : {"x-evolution-", "x-"})
        if (t.compare(0, prefix.size(), prefix) == 0) return t.substr(prefix.size());
    return t;
}

void add_tag(std::string_view type, TelTags& tags) {
    std::string t = normalised_type(type);
    if (t == "cell" || t == "mobile" || t == "iphone")
        tags.cell = true;
    else if (t == "work")
        tags.work = true;
    else if (t == "home")
        tags.home = true;
    else if (t == "fax")
        tags.fax = true;
    else if (t == "pager")
        tags.pager = true;
    else if (t == "car")
        tags.car = true;
    else if (t == "radio")
        tags.radio = true;
    else if (t == "main" || t == "company" || t == "company-main")
        tags.main = true;
    else if (t == "assistant")
        tags.assistant = true;
    else if (t == "homefax")
        tags.fax = tags.home = true;
    else if (t == "workfax")
        tags.fax = tags.work = true;
    else if (t == "otherfax")
        tags.fax = true;
}

// Apple writes a number's label as "itemN.X-ABLabel:_$!<Mobile>!$_" (or a
// label of the user's own) in the TEL's group. Its words count as types.
void add_label_tags(std::u16string_view label, TelTags& tags) {
    std::string ascii;
    for (char16_t c : label) ascii.push_back(c < 0x80 ? static_cast<char>(c) : ' ');
    std::string_view text = ascii;
    if (text.size() >= 8 && text.substr(0, 4) == "_$!<" && text.substr(text.size() - 4) == ">!$_")
        text = text.substr(4, text.size() - 8);
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        bool word_char = i < text.size() && ((text[i] >= 'a' && text[i] <= 'z') ||
                                             (text[i] >= 'A' && text[i] <= 'Z') || text[i] == '-');
        if (word_char) continue;
        if (i > start) add_tag(text.substr(start, i - start), tags);
        start = i + 1;
    }
}

TelKind kind_of(const TelTags& t) {
    if (t.fax) return t.work ? TelKind::WorkFax : TelKind::HomeFax;
    if (t.pager) return TelKind::Pager;
    if (t.cell) return TelKind::Mobile;
    if (t.assistant) return TelKind::Assistant;
    if (t.radio) return TelKind::Radio;
    if (t.car) return TelKind::Car;
    if (t.main) return TelKind::CompanyMain;
    if (t.work) return TelKind::Work;
    if (t.home) return TelKind::Home;
    return TelKind::Untyped;
}

std::span<const ContactField> slots_of(TelKind kind) {
    using F = ContactField;
    static constexpr F mobile[] = {F::Mobile};
    static constexpr F work[] = {F::BusinessTel, F::Business2Tel};
    static constexpr F home[] = {F::HomeTel, F::Home2Tel};
    static constexpr F car[] = {F::CarTel};
    static constexpr F radio[] = {F::RadioTel};
    static constexpr F company_main[] = {F::CompanyMainTel};
    static constexpr F assistant[] = {F::AssistantTel};
    static constexpr F work_fax[] = {F::BusinessFax};
    static constexpr F home_fax[] = {F::HomeFax};
    static constexpr F pager[] = {F::PagerNumber};
    static constexpr F untyped[] = {F::Mobile, F::HomeTel, F::Home2Tel};
    switch (kind) {
        case TelKind::Mobile:
            return mobile;
        case TelKind::Work:
            return work;
        case TelKind::Home:
            return home;
        case TelKind::Car:
            return car;
        case TelKind::Radio:
            return radio;
        case TelKind::CompanyMain:
            return company_main;
        case TelKind::Assistant:
            return assistant;
        case TelKind::WorkFax:
            return work_fax;
        case TelKind::HomeFax:
            return home_fax;
        case TelKind::Pager:
            return pager;
        case TelKind::Untyped:
            break;
    }
    return untyped;
}

bool place(Slots& slots, std::span<const ContactField> candidates, const std::u16string& number) {
    for (ContactField f : candidates) {
        std::u16string& slot = slots[static_cast<size_t>(f)];
        if (slot.empty()) {
            slot = number;
            return true;
        }
    }
    return false;
}

std::u16string digits_of(std::u16string_view number) {
    std::u16string digits;
    for (char16_t c : number)
        if (c >= u'0' && c <= u'9') digits.push_back(c);
    return digits;
}

bool has_digits_of(const Slots& slots, const std::u16string& number) {
    std::u16string digits = digits_of(number);
    for (const std::u16string& slot : slots)
        if (!slot.empty() && digits_of(slot) == digits) return true;
    return false;
}

std::u16string tel_number(const VCardProperty& p, VCardDecoder& decoder) {
    std::u16string number = decoder.text(p);
    auto lower = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c;
    };
    if (number.size() >= 4 && lower(number[0]) == u't' && lower(number[1]) == u'e' &&
        lower(number[2]) == u'l' && number[3] == u':') {
        number.erase(0, 4);
        number = number.substr(0, number.find(u';'));
    }
    return number;
}

void place_numbers(std::vector<Tel>& tels, Slots& slots) {
    std::stable_partition(tels.begin(), tels.end(), [](const Tel& t) { return t.preferred; });
    std::vector<const Tel*> later;
    for (const Tel& t : tels) {
        if (t.kind == TelKind::Untyped)
            later.push_back(&t);
        else if (!place(slots, slots_of(t.kind), t.number) && t.kind == TelKind::Mobile)
            later.push_back(&t);
    }
    for (const Tel* t : later)
        if (!has_digits_of(slots, t->number)) place(slots, slots_of(TelKind::Untyped), t->number);
}

bool is_assistant_name(const VCardProperty& p) {
    return p.is("X-ASSISTANT") || p.is("X-MS-ASSISTANT") || p.is("X-EVOLUTION-ASSISTANT");
}

}  // namespace

ContactRecord contact_from_vcard(const VCard& card, VCardDecoder& decoder) {
    ContactRecord record;
    Slots slots;
    auto set = [&](ContactField f, std::u16string text) {
        std::u16string& slot = slots[static_cast<size_t>(f)];
        if (slot.empty()) slot = std::move(text);
    };

    // Apple keeps a property's label in its group; read them first.
    std::vector<std::pair<std::string_view, std::u16string>> labels;
    for (const VCardProperty& p : card.properties)
        if (p.is("X-ABLABEL") && !p.group.empty()) labels.emplace_back(p.group, decoder.text(p));
    auto label_of = [&](const VCardProperty& p) -> const std::u16string* {
        if (p.group.empty()) return nullptr;
        for (const auto& [group, label] : labels)
            if (VCardProperty::equals_ignoring_case(group, p.group)) return &label;
        return nullptr;
    };

    bool have_name = false, have_org = false;
    std::vector<Tel> tels;
    std::vector<std::pair<bool, std::u16string>> emails, urls;
    for (const VCardProperty& p : card.properties) {
        if (p.is("TEL")) {
            TelTags tags;
            p.for_each_type([&](std::string_view type) { add_tag(type, tags); });
            if (const std::u16string* label = label_of(p)) add_label_tags(*label, tags);
            std::u16string number = tel_number(p, decoder);
            if (!number.empty())
                tels.push_back({std::move(number), kind_of(tags), p.is_preferred()});
        } else if (p.is("EMAIL")) {
            emails.emplace_back(p.is_preferred(), decoder.text(p));
        } else if (p.is("URL")) {
            urls.emplace_back(p.is_preferred(), decoder.text(p));
        } else if (p.is("N") && !have_name) {
            have_name = true;
            std::vector<std::u16string> n = decoder.components(p);
            n.resize(5);
            record.last_name = std::move(n[0]);
            record.first_name = std::move(n[1]);
            set(ContactField::MiddleName, std::move(n[2]));
            set(ContactField::Suffix, std::move(n[4]));
        } else if (p.is("ORG") && !have_org) {
            have_org = true;
            std::vector<std::u16string> org = decoder.components(p);
            org.resize(2);
            record.company = std::move(org[0]);
            set(ContactField::Department, std::move(org[1]));
        } else if (p.is("FN")) {
            set(ContactField::FileAs, decoder.text(p));
        } else if (p.is("TITLE")) {
            set(ContactField::JobTitle, decoder.text(p));
        } else if (p.is("NICKNAME")) {
            set(ContactField::NickName, decoder.text(p));
        } else if (is_assistant_name(p)) {
            set(ContactField::AssistantName, decoder.text(p));
        } else if (p.is("X-ABRELATEDNAMES")) {
            const std::u16string* label = label_of(p);
            if (label && label->find(u"ssistant") != std::u16string::npos)
                set(ContactField::AssistantName, decoder.text(p));
        }
    }

    place_numbers(tels, slots);
    auto preferred_first = [](auto& list) {
        std::stable_partition(list.begin(), list.end(), [](const auto& e) { return e.first; });
    };
    preferred_first(emails);
    preferred_first(urls);
    const ContactField email_slots[] = {ContactField::Email1, ContactField::Email2,
                                        ContactField::Email3};
    size_t next_email = 0;
    for (auto& [preferred, address] : emails)
        if (!address.empty() && next_email < 3) set(email_slots[next_email++], std::move(address));
    for (auto& [preferred, url] : urls)
        if (!url.empty()) set(ContactField::WebPage, std::move(url));

    for (int type = 0; type < kContactFieldCount; ++type)
        if (!slots[static_cast<size_t>(type)].empty())
            record.fields.emplace_back(static_cast<ContactField>(type),
                                       std::move(slots[static_cast<size_t>(type)]));
    return record;
}
