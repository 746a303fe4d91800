#include "tools/device/DeviceContext.h"

#include <filesystem>

#include "platform/Paths.h"
#include "platform/store/StoreDatabase.h"

DeviceContext::DeviceContext(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

DeviceContext::~DeviceContext() = default;

std::string DeviceContext::existing_device_folder() const {
    std::string folder = paths::device_folder_utf8();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec))
        throw usage_error("device folder " + folder + " does not exist; run 'quillmo-device init'");
    return folder;
}

StoreDatabase& DeviceContext::store() {
    if (!store_) {
        std::string folder = existing_device_folder();
        std::string error;
        store_ = StoreDatabase::open(folder, &error);
        if (!store_) throw failure("cannot open the message store: " + error);
    }
    return *store_;
}

ToolError DeviceContext::store_failure(const std::string& what) {
    const std::string& why = store().last_error();
    return failure(why.empty() ? what : what + ": " + why);
}
