#pragma once
// Requests to start a program when a registry value changes, kept in the
// registry database beside the values so that every process sees them. Every
// write of a watched value, by any process, evaluates the requests on that value
// and starts the command of each whose condition the new value meets.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/RegistryPath.h"

namespace registry {

// Comparison types of a condition, applied to (value & mask) against target.
enum class Compare : uint32_t {
    AnyChange = 0,
    Equal = 1,
    NotEqual = 2,
    Greater = 3,
    GreaterOrEqual = 4,
    Less = 5,
    LessOrEqual = 6,
};

// Flag: the notification name is not appended to the command line.
constexpr uint32_t kNoNameOnCommandLine = 1;

constexpr int32_t kResultOk = 0;
constexpr int32_t kResultAlreadyExists = static_cast<int32_t>(0x800704DA);
constexpr int32_t kResultNotFound = static_cast<int32_t>(0x80070490);
constexpr int32_t kResultFailed = static_cast<int32_t>(0x80004005);

struct NotificationRequest {
    std::u16string name;
    std::u16string key;           // full key path
    std::u16string value;         // value name
    std::u16string command_line;  // a quoted executable plus arguments
    uint32_t flags = 0;
    Compare compare = Compare::AnyChange;
    uint32_t mask = 0xFFFFFFFF;
    uint32_t target = 0;
};

// Registers a request. kResultAlreadyExists when one of that name exists.
int32_t notify_app(const NotificationRequest& request);
// Withdraws a request. kResultNotFound when there is none of that name.
int32_t stop_notification(std::u16string_view name);
// Every registered request, for tests; none when the registry cannot be read.
std::vector<NotificationRequest> notification_requests();

// Whether a condition holds for a new number value.
bool condition_holds(const NotificationRequest& request, uint32_t value);

}  // namespace registry
