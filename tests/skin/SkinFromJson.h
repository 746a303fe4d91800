#pragma once
// Skins for the tests from readable JSON source (the skin compiler's format),
// so that tests state their skins the way skin authors do, and little-endian
// fields for the tests that damage the compiled bytes.
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/Files.h"
#include "tools/skinc/JsonValue.h"
#include "tools/skinc/SkinCompiler.h"

using CompiledSkin = std::vector<uint8_t>;

// The compiled skin; throws with the compiler's message when the source is
// refused.
inline CompiledSkin compile_skin(const JsonValue& source) {
    std::string error;
    auto out = skin_compiler::compile(source, &error);
    if (!out) throw std::runtime_error("skin refused: " + error);
    return out->bytes;
}

inline CompiledSkin compile_skin(const std::string& source) {
    std::string error;
    auto json = JsonValue::parse(source, &error);
    if (!json) throw std::runtime_error("bad JSON: " + error);
    return compile_skin(*json);
}

inline void write_skin(const std::filesystem::path& path, const std::string& source) {
    write_file(path, compile_skin(source));
}

inline uint32_t get32(const CompiledSkin& b, size_t at) {
    return static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16) |
           static_cast<uint32_t>(b[at + 3]) << 24;
}
inline void put16(CompiledSkin& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void put32(CompiledSkin& b, size_t at, uint32_t v) {
    put16(b, at, v);
    put16(b, at + 2, v >> 16);
}
