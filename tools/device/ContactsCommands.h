#pragma once
// "contacts import" and "contacts list": the address book of the device.
#include <vector>

#include "tools/device/Command.h"

std::vector<Command> contacts_commands();
