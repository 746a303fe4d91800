#include "messaging/AppNotification.h"

#include "platform/Log.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/RegistryNotification.h"
#include "platform/Utf16.h"

std::u16string message_command_line() {
    // The path is quoted so that the registry's splitting gives it back whole,
    // whatever characters the program folder's name holds.
    return process::quote_argument(paths::expand(u"%app_path%/quillmo")) + u" message";
}

bool set_app_notification(const std::u16string& name, const std::u16string& command_line) {
    log() << u"set_app_notification " << name << u" " << command_line;
    log() << u"set_app_notification fun good\n";
    registry::NotificationRequest request;
    request.name = name;
    request.key = u"HKEY_CURRENT_USER\\System\\State\\Messages\\SMS\\Unread";
    request.value = u"Count";
    request.command_line = command_line;
    request.flags = registry::kNoNameOnCommandLine;
    request.compare = registry::Compare::NotEqual;
    request.mask = 0xFFFFFFFF;
    request.target = 0;
    int32_t result = registry::notify_app(request);
    log() << u"set_app_notification result=" << static_cast<long long>(result) << u"\n";
    return result == registry::kResultOk || result == registry::kResultAlreadyExists;
}

bool stop_app_notification(const std::u16string& name) {
    log() << u"stop_app_notification " << name;
    log() << u"stop_app_notification fun good\n";
    int32_t result = registry::stop_notification(name);
    log() << u"stop_app_notification result=" << static_cast<long long>(result) << u"\n";
    return true;
}
