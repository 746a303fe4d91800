#pragma once
// Writes a skin for a test from readable JSON source (the skin compiler's
// format), so that tests state their skins the way skin authors do.
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "tools/skinc/JsonValue.h"
#include "tools/skinc/SkinCompiler.h"

// Compiles source into path; throws with the compiler's message when the
// source is refused.
inline void write_skin(const std::filesystem::path& path, const std::string& source) {
    std::string error;
    auto json = JsonValue::parse(source, &error);
    if (!json) throw std::runtime_error("bad JSON: " + error);
    auto out = skin_compiler::compile(*json, &error);
    if (!out) throw std::runtime_error("skin refused: " + error);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out->bytes.data()),
               static_cast<std::streamsize>(out->bytes.size()));
}
