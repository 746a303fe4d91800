#include "tools/device/InitCommand.h"

#include <filesystem>
#include <ostream>

#include "platform/AtomicWrite.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "platform/store/StoreDatabase.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/ToolError.h"

namespace {

const char16_t* const kUnreadKey = u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread";

// A word the shell takes literally, whatever it holds.
std::string shell_quote(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

// The messaging program the application starts after it has submitted a
// message ("%windows%/tmail.exe -RunInBKG"): the device's messaging service,
// quillmo-transport, for the device folder it lies in (found from its own
// path, so that it keeps working whatever environment starts it). It wakes the
// transport daemon when one runs, else sends once over the device's network.
std::string tmail_script() {
    std::string transport =
        paths::native(paths::expand_folder(u"%app_path%")) + "/quillmo-transport";
    return "#!/bin/sh\n"
           "# The handset's messaging program as far as this device needs it: it sends\n"
           "# what waits in the Outbox. Written by 'quillmo-device init'.\n"
           "QUILLMO_DEVICE=$(cd \"$(dirname \"$0\")/..\" && pwd) || exit 1\n"
           "export QUILLMO_DEVICE\n"
           "# The program folder it was written for; the one on PATH should that\n"
           "# one have moved.\n"
           "transport=" +
           shell_quote(transport) +
           "\n"
           "[ -x \"$transport\" ] || transport=quillmo-transport\n"
           "exec \"$transport\" --once >/dev/null\n";
}

void make_folder(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw failure("cannot create " + folder.string() + ": " + ec.message());
}

void run_init(DeviceContext& context, const CommandLine&) {
    std::filesystem::path device = paths::device_folder_utf8();
    make_folder(device);
    std::string error;
    if (!StoreDatabase::open(device.string(), &error))
        throw failure("cannot create the message store: " + error);

    // Any registry call creates registry.db; the unread counter is the value
    // the application watches, so it should exist from the start.
    if (!registry::read_raw(kUnreadKey, u"Count", &error) &&
        !registry::write_number(kUnreadKey, u"Count", 0, &error))
        throw failure("cannot write the registry: " + error);

    for (const char* name : {"contacts", "Temp", "Windows"}) make_folder(device / name);
    if (!write_file_atomically((device / "Windows" / "tmail.exe").string(), tmail_script(), 0755,
                               &error))
        throw failure(error);
    context.out() << "device folder " << device.string() << " is ready\n";
}

}  // namespace

Command init_command() {
    Command c;
    c.words = {"init"};
    c.summary =
        "Creates the device folder ($QUILLMO_DEVICE) with its message store, registry, contacts/, "
        "Temp/ and Windows/ (holding tmail.exe, which runs quillmo-transport --once). Safe to run "
        "again.";
    c.run = run_init;
    return c;
}
