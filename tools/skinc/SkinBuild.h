#pragma once
// Building a skin from its source on disk: the JSON source (see
// SkinCompiler.h) and the pictures of its folder (see PictureSource.h) become
// the .skin file and one 16-bit BMP per picture beside it.
#include <cstddef>
#include <string>

// A source larger than this is not a skin source.
inline constexpr size_t kMaxSkinSourceSize = size_t{16} << 20;

// Compiles source into target and writes each picture NAME to target's
// folder/NAME.bmp (creating folders as needed), with its density variants
// NAME@2x.bmp and NAME@4x.bmp when the source folder has them (they must be
// twice and four times the picture's size). Every file is written in full
// before any is put in place, the pictures before the skin; on failure none
// is, and false comes back with *error set to one line that names the file,
// node or picture at fault.
bool build_skin(const std::string& source, const std::string& target, std::string* error);
