#pragma once
// The system registry: typed values (string 1, number 4) under text key paths,
// kept in the device folder's registry.db and shared by every process of the
// device. Operations never throw: each returns success, and a failed read leaves
// the caller's value untouched, which is how every setting gets its default.
//
// Where a caller must tell a missing value from a registry that failed (a
// damaged, busy or unwritable registry.db), it passes error: a failure of the
// registry itself sets *error to one line naming the file, a missing key or
// value leaves it empty.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryPath.h"

namespace registry {

constexpr uint32_t kTypeString = 1;
constexpr uint32_t kTypeBinary = 3;
constexpr uint32_t kTypeNumber = 4;

// Stores the text as a string value with its terminating zero.
bool write_string(const RegistryPath& key, std::u16string_view name, std::u16string_view value,
                  std::string* error = nullptr);
// A string value of any length (an empty one reads as ""); anything else fails.
bool read_string(const RegistryPath& key, std::u16string_view name, std::u16string& value);
bool write_number(const RegistryPath& key, std::u16string_view name, uint32_t value,
                  std::string* error = nullptr);
// Only a 4-byte value of type number reads; a number stored as a string fails.
bool read_number(const RegistryPath& key, std::u16string_view name, uint32_t& value);
// read_number into a temporary; on success flag = (value != 0).
bool read_flag(const RegistryPath& key, std::u16string_view name, bool& flag);
// Deletes one value; fails when the key or the value does not exist.
bool delete_value(const RegistryPath& key, std::u16string_view name, std::string* error = nullptr);

// Writes a number computed inside the registry's write transaction, so that
// processes publishing a counter never overwrite a newer count with an older
// one. compute() returning nothing writes nothing.
bool update_number(const RegistryPath& key, std::u16string_view name,
                   const std::function<std::optional<uint32_t>()>& compute,
                   std::string* error = nullptr);

// A raw value as stored, for tools that show any type.
struct RawValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};
std::optional<RawValue> read_raw(const RegistryPath& key, std::u16string_view name,
                                 std::string* error = nullptr);
// The text of a string value's bytes, up to its first zero.
std::u16string text_of(const RawValue& value);
// The number of a 4-byte number value; nothing for any other value.
std::optional<uint32_t> number_of(const RawValue& value);

}  // namespace registry
