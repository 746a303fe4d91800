#pragma once
// The process's connection to the device's registry.db, opened on first use and
// reopened when the device folder changes. Callers hold lock() while they use it:
// the log reads the registry from any thread.
//
// Nothing here writes to the log: the log reads the registry for every line.
#include <memory>
#include <mutex>
#include <string>

#include "platform/SqliteDatabase.h"

class RegistryDatabase {
public:
    // The connection for the current device folder, or null when registry.db
    // cannot be opened or its tables are not the registry's (a damaged or
    // foreign file); *error then says why in one line naming the file.
    // Requires lock().
    static SqliteDatabase* get(std::string* error);
    static std::unique_lock<std::recursive_mutex> lock();
};
