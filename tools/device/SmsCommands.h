#pragma once
// "sms deliver", "sms add", "sms list", "sms delete", "sms mark-read" and
// "sms transmit": single messages of the device's SMS store.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/store/StoredMessage.h"
#include "tools/device/Command.h"

std::vector<Command> sms_commands();

// The folder words of the command line (inbox, sent, drafts, outbox); a usage
// ToolError for any other word.
StoreFolderKind parse_folder(std::string_view word);
const char* folder_word(StoreFolderKind folder);

// A message's time as the store keeps it (UTC FILETIME): its delivery time,
// else its modification time.
std::optional<int64_t> message_time(const StoredMessage& message);
