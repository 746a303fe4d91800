#include "tools/device/RegCommands.h"

#include <cstdio>
#include <ostream>

#include "platform/Registry.h"
#include "platform/Utf16.h"
#include "tools/device/DeviceContext.h"
#include "tools/device/ToolError.h"

namespace {

struct ValueName {
    RegistryPath key;
    std::u16string name;
    std::string text;  // "KEY\VALUE" for messages
};

// The key and value operands; a key that starts with no known root is a
// usage error, since no registry operation can ever succeed on it.
ValueName value_name(const CommandLine& line) {
    const std::string& key = line.operands()[0];
    const std::string& name = line.operands()[1];
    RegistryPath path(utf16::from_utf8(key));
    if (!path.valid())
        throw usage_error("'" + key +
                          "' is no registry key (it starts with a root such as HKEY_CURRENT_USER)");
    return {path, utf16::from_utf8(name), key + " \"" + name + "\""};
}

std::string describe(const registry::RawValue& v) {
    if (std::optional<uint32_t> number = registry::number_of(v)) return std::to_string(*number);
    if (v.type == registry::kTypeString) return utf16::to_utf8(registry::text_of(v));
    // Any other type is shown as its bytes.
    std::string out = "hex:";
    for (uint8_t b : v.data) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02x", b);
        out += digits;
    }
    return out;
}

void run_get(DeviceContext& context, const CommandLine& line) {
    ValueName v = value_name(line);
    context.existing_device_folder();
    std::string error;
    std::optional<registry::RawValue> raw = registry::read_raw(v.key, v.name, &error);
    if (!error.empty()) throw failure("cannot read " + v.text + ": " + error);
    if (!raw) throw failure("no value " + v.text);
    context.out() << describe(*raw) << '\n';
}

void run_set(DeviceContext& context, const CommandLine& line) {
    ValueName v = value_name(line);
    std::optional<std::string> text = line.value("--string");
    std::optional<std::string> number = line.value("--number");
    if (text.has_value() == number.has_value())
        throw usage_error("give either --string TEXT or --number N");
    uint32_t n = number ? CommandLine::parse_number(*number, "--number") : 0;
    context.existing_device_folder();
    std::string error;
    bool ok = text ? registry::write_string(v.key, v.name, utf16::from_utf8(*text), &error)
                   : registry::write_number(v.key, v.name, n, &error);
    if (!ok) throw failure("cannot write " + v.text + (error.empty() ? "" : ": " + error));
}

void run_delete(DeviceContext& context, const CommandLine& line) {
    ValueName v = value_name(line);
    context.existing_device_folder();
    std::string error;
    bool exists = registry::read_raw(v.key, v.name, &error).has_value();
    if (!error.empty()) throw failure("cannot read " + v.text + ": " + error);
    if (!exists) throw failure("no value " + v.text);
    if (!registry::delete_value(v.key, v.name, &error))
        throw failure("cannot delete " + v.text + (error.empty() ? "" : ": " + error));
}

Command reg_command(const char* word, const char* synopsis, const char* summary,
                    void (*run)(DeviceContext&, const CommandLine&)) {
    Command c;
    c.words = {"reg", word};
    c.synopsis = synopsis;
    c.summary = summary;
    c.min_operands = c.max_operands = 2;
    c.run = run;
    return c;
}

}  // namespace

std::vector<Command> reg_commands() {
    std::vector<Command> out;
    out.push_back(reg_command("get", "KEY VALUE",
                              "Prints a value: a string as its text, a number in decimal, anything "
                              "else as hex:BYTES. KEY is a path such as "
                              "HKEY_CURRENT_USER\\Software\\Zelvor.",
                              run_get));
    Command set = reg_command("set", "KEY VALUE (--string TEXT | --number N)",
                              "Writes a string or a number (decimal or 0x hexadecimal) value, "
                              "creating the key when needed.",
                              run_set);
    set.options = {{"--string", "TEXT"}, {"--number", "N"}};
    out.push_back(std::move(set));
    out.push_back(reg_command("delete", "KEY VALUE", "Deletes a value.", run_delete));
    return out;
}
