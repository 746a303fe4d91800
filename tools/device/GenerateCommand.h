#pragma once
#include "tools/device/Command.h"

// "sms generate --messages N --chats C [--seed S]": adds a synthetic history
// (see HistoryGenerator) to the store in one transaction.
Command generate_command();
