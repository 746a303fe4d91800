#include "platform/contacts/VCardImport.h"

#include <chrono>
#include <cstdio>
#include <deque>
#include <unordered_map>
#include <unordered_set>

#include "platform/Log.h"
#include "platform/TerminalText.h"
#include "platform/Utf16.h"
#include "platform/WholeFile.h"
#include "platform/contacts/ContactFileBatch.h"
#include "platform/contacts/ContactFiles.h"

namespace {

constexpr size_t kMaxBaseLength = 96;
constexpr size_t kMaxNotes = 5;
// Temporary files of an import live for as long as it writes; older ones are
// what a killed import left behind.
constexpr std::chrono::minutes kStaleAfter{15};

bool is_kept(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '.' || c == '@' || c == '+';
}

// A card worth a file has something besides the bookkeeping of sync tools.
bool has_content(const VCard& card) {
    for (const VCardProperty& p : card.properties)
        if (!p.is("PRODID") && !p.is("UID") && !p.is("REV")) return true;
    return false;
}

std::string hash_name(std::string_view text) {
    uint32_t hash = 2166136261u;
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%08x", hash);
    return std::string("import-") + buffer;
}

std::u16string uid_of(const VCard& card, VCardDecoder& decoder) {
    const VCardProperty* uid = card.find("UID");
    return uid == nullptr ? std::u16string() : decoder.text(*uid);
}

// What the contact files hold already: the UIDs of their cards, and the whole
// text of those without one.
struct FolderCards {
    std::unordered_set<std::u16string> uids;
    std::unordered_set<std::string> texts;
};

void read_folder(const std::string& folder, const std::vector<std::string>& names,
                 VCardParser& parser, VCardDecoder& decoder, FolderCards& cards) {
    std::string bytes, error;
    for (const std::string& name : names) {
        std::string path = folder + "/" + name;
        WholeFile::Status status =
            WholeFile::read(path, contact_files::kMaxFileSize, bytes, &error);
        if (status == WholeFile::Status::Failed)
            log() << "contacts: cannot read " << path << ": " << error << "\n";
        if (status != WholeFile::Status::Ok) continue;
        bool first = true;
        parser.parse(bytes, [&](const VCard& card) {
            if (!first) return;
            first = false;
            std::u16string uid = uid_of(card, decoder);
            if (!uid.empty())
                cards.uids.insert(std::move(uid));
            else
                cards.texts.insert(bytes);
        });
    }
}

// A card to be written.
// A card of the file that has content, and whether it is to be written.
struct NewCard {
    std::string base;
    std::string content;
    bool write;
};

}  // namespace

std::string file_name_from_uid(std::string_view uid) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    constexpr std::string_view kUrn = "urn:uuid:";
    if (uid.size() > kUrn.size()) {
        bool urn = true;
        for (size_t i = 0; i < kUrn.size(); ++i) urn = urn && lower(uid[i]) == kUrn[i];
        if (urn) uid.remove_prefix(kUrn.size());
    }
    std::string base;
    for (char c : uid) {
        if (base.empty() && c == '.') continue;  // no hidden files, no ".."
        base.push_back(is_kept(c) ? c : '_');
        if (base.size() == kMaxBaseLength) break;
    }
    bool only_underscores = base.find_first_not_of('_') == std::string::npos;
    return only_underscores ? std::string() : base;
}

bool import_vcards(const std::string& folder, std::string_view bytes, VCardParser& parser,
                   VCardDecoder& decoder, AddressBook::ImportResult& result, std::string* error) {
    result = {};
    std::vector<std::string> names;
    std::string list_error;
    if (!contact_files::list(folder, names, &list_error)) {
        *error = "cannot list " + folder + ": " + list_error;
        return false;
    }
    FolderCards existing;
    read_folder(folder, names, parser, decoder, existing);

    auto refuse = [&](std::string why) {
        ++result.refused;
        if (result.notes.size() < kMaxNotes) result.notes.push_back(std::move(why));
    };
    std::deque<NewCard> cards;  // stable, so the views below stay valid
    size_t new_cards = 0;
    std::unordered_map<std::u16string, std::string_view> content_of_uid;
    std::unordered_set<std::string_view> texts;
    std::u16string clash;
    VCardParser::Summary summary = parser.parse(bytes, [&](const VCard& card) {
        if (!clash.empty()) return;
        std::string card_name = "card " + std::to_string(card.number);
        if (!has_content(card)) return refuse(card_name + " has no content");
        std::string content(card.text);
        if (content.back() != '\n') content += "\r\n";
        if (content.size() > contact_files::kMaxFileSize)
            return refuse(card_name + " is " +
                          WholeFile::too_large_text(contact_files::kMaxFileSize));
        std::u16string uid = uid_of(card, decoder);
        if (auto earlier = content_of_uid.find(uid); earlier != content_of_uid.end()) {
            if (earlier->second != content) clash = uid;
            ++result.already_there;
            return;
        }
        bool there = uid.empty() ? existing.texts.count(content) != 0 || texts.count(content) != 0
                                 : existing.uids.count(uid) != 0;
        std::string base;
        if (!there) {
            if (!uid.empty()) base = file_name_from_uid(utf16::to_utf8(uid));
            if (base.empty()) base = hash_name(card.text);
        }
        NewCard& kept = cards.emplace_back(NewCard{std::move(base), std::move(content), !there});
        if (!uid.empty())
            content_of_uid.emplace(std::move(uid), kept.content);
        else if (!there)
            texts.insert(kept.content);
        if (there)
            ++result.already_there;
        else
            ++new_cards;
    });
    if (!clash.empty()) {
        result = {};
        *error = "two different cards have the UID \"" +
                 terminal_text::clean(std::u16string_view(clash).substr(0, 80)) +
                 "\"; nothing was imported";
        return false;
    }
    if (summary.cards == 0) {
        result = {};
        *error = summary.found_begin ? "no complete vCard in the text" : "no vCard in the text";
        return false;
    }
    result.refused += summary.skipped;
    for (std::string& problem : summary.problems)
        if (result.notes.size() < kMaxNotes) result.notes.push_back(std::move(problem));

    if (size_t swept = ContactFileBatch::sweep_stale(folder, kStaleAfter))
        log() << "contacts: removed " << static_cast<unsigned long>(swept)
              << " temporary files of an earlier import\n";
    ContactFileBatch batch(folder, names);
    for (const NewCard& card : cards)
        if (card.write && !batch.stage(card.base, card.content, error)) {
            *error += "; nothing was imported";
            return false;
        }
    result.imported = batch.publish(error);
    if (result.imported < new_cards) {
        *error += "; " + std::to_string(result.imported) + " of " + std::to_string(new_cards) +
                  " new cards were imported";
        return false;
    }
    return true;
}
