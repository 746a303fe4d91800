#pragma once
// "reg get", "reg set" and "reg delete": values of the device's registry.
#include <vector>

#include "tools/device/Command.h"

std::vector<Command> reg_commands();
