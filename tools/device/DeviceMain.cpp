#include "tools/device/DeviceMain.h"

#include <algorithm>
#include <exception>
#include <sstream>

#include "tools/device/ChatsCommand.h"
#include "tools/device/CommandTable.h"
#include "tools/device/ContactsCommands.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/GenerateCommand.h"
#include "tools/device/InitCommand.h"
#include "tools/device/RegCommands.h"
#include "tools/device/SmsBackupCommands.h"
#include "tools/device/SmsCommands.h"
#include "tools/device/ToolError.h"

namespace {

// Errors reach the user as exactly one line, whatever text they carry.
std::string one_line(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

}  // namespace

CommandTable device_commands() {
    CommandTable table;
    table.add(init_command());
    for (Command& c : sms_commands()) table.add(std::move(c));
    for (Command& c : sms_backup_commands()) table.add(std::move(c));
    table.add(generate_command());
    for (Command& c : reg_commands()) table.add(std::move(c));
    table.add(chats_command());
    for (Command& c : contacts_commands()) table.add(std::move(c));
    return table;
}

int device_main(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // The results are held back until the command has succeeded, so that a
    // failing command never leaves half an answer on stdout.
    std::ostringstream result;
    int status = 0;
    std::string message;
    try {
        DeviceContext context(result, err);
        device_commands().run(args, context);
    } catch (const ToolError& e) {
        status = e.status();
        message = e.what();
    } catch (const std::exception& e) {
        status = ToolError::kFailure;
        message = e.what();
    }
    if (status != 0) {
        err << "quillmo-device: " << one_line(message) << '\n';
        err.flush();
        return status;
    }
    out << result.str();
    out.flush();
    if (!out) {
        err << "quillmo-device: cannot write the output\n";
        return ToolError::kFailure;
    }
    return 0;
}
