#include "platform/contacts/AddressBook.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/WholeFile.h"
#include "platform/contacts/ContactFiles.h"
#include "platform/contacts/ContactIds.h"
#include "platform/contacts/ContactsWatcher.h"
#include "platform/contacts/PhoneNumberMatch.h"
#include "platform/contacts/VCardDecoder.h"
#include "platform/contacts/VCardImport.h"
#include "platform/contacts/VCardMapping.h"
#include "platform/contacts/VCardParser.h"

namespace {

constexpr ContactField kPhoneFields[] = {
    ContactField::Mobile,      ContactField::BusinessTel,    ContactField::Business2Tel,
    ContactField::HomeTel,     ContactField::Home2Tel,       ContactField::CarTel,
    ContactField::RadioTel,    ContactField::CompanyMainTel, ContactField::AssistantTel,
    ContactField::BusinessFax, ContactField::HomeFax,        ContactField::PagerNumber,
};

std::string without_trailing_slash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder;
}

// Watching and importing need the folder; reading does without it.
void create_folder(const std::string& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) log() << "contacts: cannot create " << folder << ": " << ec.message() << "\n";
}

}  // namespace

struct AddressBook::Impl {
    explicit Impl(const std::string& contacts_folder)
        : folder(contacts_folder), ids(contacts_folder) {}

    enum class Read { Ok, Missing, Failed };
    // The record of the file's first card (id not set). Failures are logged;
    // a file that is gone is not.
    Read read_contact(const std::string& name, ContactRecord& record);
    bool list(std::vector<std::string>& names);
    void save_ids();

    const std::string& folder;
    ContactIds ids;
    std::unique_ptr<ContactsWatcher> watcher;
    VCardParser parser;
    VCardDecoder decoder;
    std::string bytes;  // the file being read; its capacity serves every file
};

AddressBook::Impl::Read AddressBook::Impl::read_contact(const std::string& name,
                                                        ContactRecord& record) {
    std::string path = folder + "/" + name;
    std::string error;
    switch (WholeFile::read(path, contact_files::kMaxFileSize, bytes, &error)) {
        case WholeFile::Status::Ok:
            break;
        case WholeFile::Status::Missing:
            return Read::Missing;
        case WholeFile::Status::Failed:
            log() << "contacts: cannot read " << path << ": " << error << "\n";
            return Read::Failed;
    }
    bool read = false;
    VCardParser::Summary summary = parser.parse(bytes, [&](const VCard& card) {
        if (read) return;
        record = contact_from_vcard(card, decoder);
        read = true;
    });
    if (!summary.found_begin) {
        log() << "contacts: " << path << " is not a vCard, skipped\n";
        return Read::Failed;
    }
    if (!summary.problems.empty())
        log() << "contacts: " << path << ": " << summary.problems.front()
              << (read ? "\n" : ", skipped\n");
    if (summary.cards > 1)
        log() << "contacts: " << path << " holds " << static_cast<unsigned long>(summary.cards)
              << " cards, only the first is read\n";
    return read ? Read::Ok : Read::Failed;
}

bool AddressBook::Impl::list(std::vector<std::string>& names) {
    std::string error;
    if (contact_files::list(folder, names, &error)) return true;
    log() << "contacts: cannot list " << folder << ": " << error << "\n";
    return false;
}

void AddressBook::Impl::save_ids() {
    // Only the book that follows the folder keeps the map; one that only
    // reads (a listing) leaves the device as it found it. Its ids are the
    // same all the same: they follow from the names in name order.
    if (!watcher) return;
    std::string error;
    if (!ids.save(&error)) log() << "contacts: cannot save " << ids.path() << ": " << error << "\n";
}

AddressBook::AddressBook() : AddressBook(paths::device_folder_utf8() + "/contacts") {}

AddressBook::AddressBook(std::string folder)
    : folder_(without_trailing_slash(std::move(folder))), impl_(std::make_unique<Impl>(folder_)) {}

AddressBook::~AddressBook() = default;

std::vector<ContactRecord> AddressBook::all_contacts(
    const std::function<void(size_t index, size_t count)>& progress) {
    std::vector<std::string> names;
    if (!impl_->list(names)) return {};
    impl_->ids.refresh();
    std::vector<ContactRecord> contacts;
    contacts.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) {
        // Every file gets its id, readable or not, so ids follow name order
        // and a file mended later keeps the id it has now.
        int32_t id = impl_->ids.id_for(names[i]);
        ContactRecord record;
        if (impl_->read_contact(names[i], record) == Impl::Read::Ok) {
            record.id = id;
            contacts.push_back(std::move(record));
        }
        if (progress) progress(i, names.size());
    }
    // Names whose files are gone lose their ids, unless a deletion notice for
    // them is still to be delivered.
    impl_->ids.retain([&](const std::string& name) {
        return std::binary_search(names.begin(), names.end(), name) ||
               (impl_->watcher && impl_->watcher->knows(name));
    });
    impl_->save_ids();
    return contacts;
}

std::optional<ContactRecord> AddressBook::contact_by_id(int32_t id) {
    impl_->ids.refresh();
    const std::string* known = impl_->ids.name_of(id);
    if (known == nullptr) return std::nullopt;
    std::string name = *known;
    ContactRecord record;
    if (impl_->read_contact(name, record) != Impl::Read::Ok) return std::nullopt;
    record.id = id;
    return record;
}

std::string AddressBook::contact_file(int32_t id) {
    impl_->ids.refresh();
    const std::string* known = impl_->ids.name_of(id);
    if (known == nullptr) return {};
    std::string path = folder_ + "/" + *known;
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? path : std::string();
}

std::optional<ContactRecord> AddressBook::find_matching_contact(std::u16string_view number) {
    std::vector<std::string> names;
    if (!impl_->list(names)) return std::nullopt;
    impl_->ids.refresh();
    std::optional<ContactRecord> best;
    int best_strength = 0;
    for (const std::string& name : names) {
        ContactRecord record;
        if (impl_->read_contact(name, record) != Impl::Read::Ok) continue;
        int strength = 0;
        for (ContactField f : kPhoneFields) {
            const std::u16string& field = record.field(f);
            if (!field.empty()) strength = std::max(strength, phone_number_match(number, field));
        }
        if (strength > best_strength) {
            best_strength = strength;
            record.id = impl_->ids.id_for(name);
            best = std::move(record);
        }
    }
    impl_->save_ids();
    return best;
}

bool AddressBook::watch() {
    if (impl_->watcher && impl_->watcher->active()) return true;
    impl_->watcher.reset();  // the folder went away; watch it anew
    create_folder(folder_);
    std::string error;
    impl_->watcher = ContactsWatcher::start(folder_, &error);
    if (!impl_->watcher) log() << "contacts: cannot watch " << folder_ << ": " << error << "\n";
    return impl_->watcher != nullptr;
}

int AddressBook::watch_fd() const { return impl_->watcher ? impl_->watcher->fd() : -1; }

std::vector<AddressBook::Notice> AddressBook::take_changes() {
    if (!impl_->watcher) return {};
    std::vector<ContactsWatcher::FileChange> changes = impl_->watcher->take();
    if (changes.empty()) return {};
    impl_->ids.refresh();
    std::vector<Notice> notices;
    notices.reserve(changes.size());
    for (const ContactsWatcher::FileChange& change : changes) {
        int32_t id = impl_->ids.id_for(change.name);
        switch (change.kind) {
            case ContactsWatcher::Kind::Created:
                notices.push_back({Change::Created, id});
                break;
            case ContactsWatcher::Kind::Changed:
                notices.push_back({Change::Changed, id});
                break;
            case ContactsWatcher::Kind::Deleted:
                notices.push_back({Change::Deleted, id});
                impl_->ids.forget(change.name);  // delivered now
                break;
        }
    }
    impl_->save_ids();
    return notices;
}

bool AddressBook::import_cards(std::string_view bytes, ImportResult& result, std::string* error) {
    create_folder(folder_);
    return import_vcards(folder_, bytes, impl_->parser, impl_->decoder, result, error);
}
