#pragma once
#include "tools/device/Command.h"

// "init": creates the device folder with its message store, registry, folders
// and system program stand-ins. Running it again repairs what is missing and
// keeps what is there.
Command init_command();
