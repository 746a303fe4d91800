#pragma once
// The request to the system to start the program when a message arrives: a
// registry notification on the unread-SMS counter that starts
// "<program folder>/quillmo" with the command line "message" whenever the
// counter changes to a value other than 0.
#include <string>

// Name of the program's notification request.
inline constexpr char16_t kMessageNotificationName[] = u"Zelvor.Quillmo.message";

// The command line the request starts: the quoted path of the program, then
// "message".
std::u16string message_command_line();

// Registers the request (one that exists already counts as success).
bool set_app_notification(const std::u16string& name, const std::u16string& command_line);
// Withdraws it; true whatever the system answers.
bool stop_app_notification(const std::u16string& name);
