#include "tools/device/SmsBackupCommands.h"

#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "platform/AtomicWrite.h"
#include "platform/LocalTime.h"
#include "platform/store/StoreDatabase.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/Progress.h"
#include "tools/device/SmsBackupReader.h"
#include "tools/device/SmsBackupWriter.h"
#include "tools/device/ToolError.h"

namespace {

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw failure("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw failure("cannot read " + path);
    return std::move(text).str();
}

void run_import(DeviceContext& context, const CommandLine& line) {
    const std::string& path = line.operands().front();
    context.existing_device_folder();
    std::string error;
    std::optional<SmsBackup> backup = SmsBackupReader::parse(read_file(path), &error);
    if (!backup) throw failure(path + ": " + error + "; nothing imported");
    Progress progress(context.err(), "importing");
    if (!backup->messages.empty() &&
        !context.store().add_messages(backup->messages, progress.callback()))
        throw failure("the message store refused the messages; nothing imported");
    context.out() << "imported " << backup->messages.size() << ", skipped " << backup->skipped
                  << '\n';
}

void run_export(DeviceContext& context, const CommandLine& line) {
    const std::string& path = line.operands().front();
    std::vector<StoredMessage> messages = context.store().list_messages(std::nullopt);
    SmsBackupText text =
        SmsBackupWriter::write(messages, local_time::to_unix_ms(local_time::now_utc()));
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
        "  (not submitted, so nothing is sent).\n";
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
