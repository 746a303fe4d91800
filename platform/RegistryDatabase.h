#pragma once
// The process's connection to the device's registry.db, opened on first use and
// reopened when the device folder changes. Callers hold lock() while they use it:
// the log reads the registry from any thread.
#include <memory>
#include <mutex>
#include <string>

#include "platform/SqliteDatabase.h"

class RegistryDatabase {
public:
    // The connection for the current device folder, or null when registry.db
    // cannot be opened (the caller then fails its operation). Requires lock().
    static SqliteDatabase* get();
    static std::unique_lock<std::recursive_mutex> lock();
};
