#pragma once
// "sms import FILE.xml" and "sms export FILE.xml": the SMS history in the
// backup XML of the widespread Android backup app.
#include <vector>

#include "tools/device/Command.h"

std::vector<Command> sms_backup_commands();
