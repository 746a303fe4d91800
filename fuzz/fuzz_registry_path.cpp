// libFuzzer target for registry key paths as the tools and the program write
// them ("HKEY_CURRENT_USER\Software\Zelvor"), and for the decoding of stored
// values. The input is taken both as UTF-8 (a command line) and as raw UTF-16
// units; every parse must keep the path's invariants, and a value of any type
// and length must decode without reading outside its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/Registry.h"
#include "platform/RegistryPath.h"
#include "platform/Utf16.h"

namespace {

void check(const std::u16string& text) {
    RegistryPath path(text);
    if (!path.valid()) {
        if (!path.sub_key().empty()) std::abort();
        return;
    }
    if (!std::u16string_view(text).starts_with(path.root())) std::abort();
    // Written out and read again, a path names the same key.
    std::u16string full = path.full();
    RegistryPath again(full);
    if (!again.valid() || again.full() != full || again.root() != path.root()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    check(utf16::from_utf8(std::string_view(reinterpret_cast<const char*>(data), size)));
    std::u16string units(size / 2, u'\0');
    if (!units.empty()) std::memcpy(units.data(), data, units.size() * 2);
    check(units);

    registry::RawValue value;
    value.type = size > 0 ? data[0] % 5 : registry::kTypeNumber;
    value.data.assign(data, data + size);
    std::u16string text = registry::text_of(value);
    if (text.size() > size / 2) std::abort();
    std::optional<uint32_t> number = registry::number_of(value);
    if (number && size != 4) std::abort();
    return 0;
}
