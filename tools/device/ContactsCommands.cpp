#include "tools/device/ContactsCommands.h"

#include "chats/ChatModel.h"
#include "platform/JsonWriter.h"
#include "platform/TerminalText.h"
#include "platform/WholeFile.h"
#include "platform/contacts/AddressBook.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/ToolError.h"

namespace {

// vCard exports of whole address books, photos included, stay well below this.
constexpr size_t kMaxImportBytes = 64 << 20;

void run_import(DeviceContext& context, const CommandLine& line) {
    const std::string& file = line.operands()[0];
    std::string folder = context.existing_device_folder();
    std::string bytes, error;
    switch (WholeFile::read(file, kMaxImportBytes, bytes, &error)) {
        case WholeFile::Status::Ok:
            break;
        case WholeFile::Status::Missing:
            throw failure("cannot read " + file + ": no such file");
        case WholeFile::Status::Failed:
            throw failure("cannot read " + file + ": " + error);
    }

    AddressBook book(folder + "/contacts");
    AddressBook::ImportResult result;
    if (!book.import_cards(bytes, result, &error)) throw failure(error);
    for (const std::string& note : result.notes) context.err() << "refused: " << note << "\n";
    context.out() << "imported " << result.imported << " contacts, " << result.already_there
                  << " already there, " << result.refused << " refused\n";
}

void run_list(DeviceContext& context, const CommandLine& line) {
    context.existing_device_folder();
    // The phone list as the program builds it at start: every contact's
    // numbers, then the numbers of the chats no contact matched.
    ChatModel model;
    model.load(nullptr);
    const std::vector<PhoneEntry>& entries = model.phones().entries();
    if (line.has("--json")) {
        std::string text;
        JsonWriter json(text);
        json.begin_array();
        for (const PhoneEntry& e : entries) {
            json.begin_object();
            json.key("name");
            json.value(e.name);
            json.key("number");
            json.value(e.number);
            json.key("label");
            json.value(e.label);
            json.key("key");
            json.value(e.key);
            json.key("contact_id");
            json.value(static_cast<int64_t>(e.contact_id));
            json.end_object();
        }
        json.end_array();
        context.out() << text << "\n";
        return;
    }
    // Names, numbers and labels come from contact files and messages: a name
    // may hold escape sequences meant for whoever lists it.
    if (entries.empty()) context.out() << "No numbers.\n";
    for (const PhoneEntry& e : entries) {
        context.out() << terminal_text::clean(e.name.empty() ? e.number : e.name);
        if (!e.name.empty()) context.out() << " <" << terminal_text::clean(e.number) << ">";
        if (!e.label.empty()) context.out() << " (" << terminal_text::clean(e.label) << ")";
        context.out() << "  key " << terminal_text::clean(e.key);
        if (e.contact_id >= 0) context.out() << ", contact " << e.contact_id;
        context.out() << "\n";
    }
}

}  // namespace

std::vector<Command> contacts_commands() {
    Command import;
    import.words = {"contacts", "import"};
    import.synopsis = "FILE.vcf";
    import.summary = "Put the cards of a vCard file into the address book, one card a file.";
    import.details =
        "Reads a file of one or more vCards (versions 2.1, 3.0 and 4.0) and writes each card\n"
        "as a file of its own in the device's contacts/ folder, named after the card's UID.\n"
        "Every card is checked before the first file is written. A card whose UID (or,\n"
        "without a UID, whose text) the folder holds already is left out, so running the\n"
        "import again, also after it was interrupted, never duplicates a contact. A card\n"
        "without END:VCARD or content, or larger than 16 MB, is refused. Two different\n"
        "cards with one UID make the whole import fail. An existing file is never\n"
        "overwritten.\n";
    import.min_operands = import.max_operands = 1;
    import.run = run_import;

    Command list;
    list.words = {"contacts", "list"};
    list.synopsis = "[--json]";
    list.summary = "Show the phone list as the program builds it.";
    list.details =
        "Every contact's mobile, business and home numbers, then the numbers of chats that\n"
        "no contact matched, one entry per chat key.\n"
        "\n"
        "  --json   an array of {name, number, label, key, contact_id}\n";
    list.options = {{"--json", "", false}};
    list.run = run_list;
    return {import, list};
}
