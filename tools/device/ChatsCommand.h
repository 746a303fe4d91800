#pragma once
// "chats": the chat list exactly as the program builds it at start.
#include "tools/device/Command.h"

Command chats_command();
