#include "tools/device/SmsBackupCommands.h"

#include <algorithm>
#include <ostream>

#include "platform/AtomicWrite.h"
#include "platform/LocalTime.h"
#include "platform/WholeFile.h"
#include "platform/store/StoreDatabase.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/Progress.h"
#include "tools/device/SmsBackupReader.h"
#include "tools/device/SmsBackupWriter.h"
#include "tools/device/ToolError.h"

namespace {

// The largest backup file imported. A backup holds some 400 bytes per
// message, so this is well over a million messages, beyond any phone's
// history; the import holds about four times the file in memory (the text,
// the parsed messages in UTF-16), so a stray huge file or a device such as
// /dev/zero is refused rather than read until memory runs out.
constexpr size_t kMaxBackupBytes = size_t{512} << 20;

std::string read_file(const std::string& path) {
    std::string bytes, error;
    switch (WholeFile::read(path, kMaxBackupBytes, bytes, &error)) {
        case WholeFile::Status::Ok:
            return bytes;
        case WholeFile::Status::Missing:
            throw failure("cannot read " + path + ": no such file");
        case WholeFile::Status::Failed:
            break;
    }
    throw failure("cannot read " + path + ": " + error);
}

// Messages longer than any SMS (see kMaxBodyLength) are left out of an
// import and counted; the rest of the history is still worth having.
size_t drop_overlong(std::vector<StoredMessage>& messages) {
    auto overlong = [](const StoredMessage& m) { return m.body.size() > kMaxBodyLength; };
    size_t before = messages.size();
    messages.erase(std::remove_if(messages.begin(), messages.end(), overlong), messages.end());
    return before - messages.size();
}

void run_import(DeviceContext& context, const CommandLine& line) {
    const std::string& path = line.operands().front();
    context.existing_device_folder();
    std::string error;
    std::optional<SmsBackup> backup = SmsBackupReader::parse(read_file(path), &error);
    if (!backup) throw failure(path + ": " + error + "; nothing imported");
    size_t overlong = drop_overlong(backup->messages);
    Progress progress(context.err(), "importing");
    if (!backup->messages.empty() &&
        !context.store().add_messages(backup->messages, progress.callback()))
        throw context.store_failure("cannot file the messages; nothing imported");
    if (overlong > 0)
        context.err() << "quillmo-device: sms import: warning: skipped " << overlong
                      << (overlong == 1 ? " message" : " messages") << " longer than "
                      << kMaxBodyLength << " characters\n";
    context.out() << "imported " << backup->messages.size() << ", skipped "
                  << backup->skipped + overlong << '\n';
}

void run_export(DeviceContext& context, const CommandLine& line) {
    const std::string& path = line.operands().front();
    // A store that cannot be read in full leaves the file as it was: an
    // export of part of the history would replace a good backup.
    std::optional<std::vector<StoredMessage>> messages =
        context.store().list_messages(std::nullopt);
    if (!messages) throw failure(context.store().last_error() + "; " + path + " is unchanged");
    SmsBackupText text =
        SmsBackupWriter::write(*messages, local_time::to_unix_ms(local_time::now_utc()));
    std::string error;
    if (!write_file_atomically(path, text.xml, 0666, &error)) throw failure(error);
    context.out() << "exported " << text.written << ", skipped " << text.skipped << '\n';
}

}  // namespace

std::vector<Command> sms_backup_commands() {
    std::vector<Command> out;

    Command import;
    import.words = {"sms", "import"};
    import.synopsis = "FILE.xml";
    import.summary =
        "Adds the messages of an SMS backup file (the XML of the Android 'SMS Backup & Restore' "
        "app) to the store, all or none. <mms> and other elements are skipped and counted.";
    import.details =
        "  type 1 goes to the Inbox, 2 to Sent Items, 3 to Drafts, 4 to 6 to the Outbox\n"
        "  (not submitted, so nothing is sent). A message longer than " +
        std::to_string(kMaxBodyLength) +
        " characters\n"
        "  (more than an SMS can carry) is skipped with a warning. Files over 512 MB are\n"
        "  refused.\n";
    import.min_operands = import.max_operands = 1;
    import.run = run_import;
    out.push_back(std::move(import));

    Command export_;
    export_.words = {"sms", "export"};
    export_.synopsis = "FILE.xml";
    export_.summary =
        "Writes every message of the four SMS folders to an SMS backup file, replacing it whole. "
        "Delivery reports are left out.";
    export_.min_operands = export_.max_operands = 1;
    export_.run = run_export;
    out.push_back(std::move(export_));
    return out;
}
