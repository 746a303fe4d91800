#pragma once
// What a running subcommand works with: its output streams and the device
// folder with its message store, opened on first use.
#include <memory>
#include <ostream>
#include <string>

#include "tools/device/ToolError.h"

class StoreDatabase;

class DeviceContext {
public:
    // out receives the command's results, err its progress reports.
    DeviceContext(std::ostream& out, std::ostream& err);
    ~DeviceContext();
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    std::ostream& out() { return out_; }
    std::ostream& err() { return err_; }

    // The device folder (UTF-8 path). Throws a usage ToolError when it does not
    // exist: every command but "init" works on a device that was set up, and
    // must not create one by accident (the registry and the store would).
    std::string existing_device_folder() const;

    // The message store of the existing device folder, opened once. Throws a
    // ToolError when the folder is missing or the store cannot be opened.
    StoreDatabase& store();
    // The failure of the store's last operation as the command's error:
    // "what: <why>", the why naming the file when the store itself failed.
    ToolError store_failure(const std::string& what);

private:
    std::ostream& out_;
    std::ostream& err_;
    std::shared_ptr<StoreDatabase> store_;
};
