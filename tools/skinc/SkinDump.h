#pragma once
// Prints a loaded skin as JSON in the shape that skinc compiles (see
// SkinCompiler.h), with coordinates as the loader scales them:
//   {"named": {NAME: NODE}}, NODE = {"integers", "fonts" (size, scale, bold,
//   italic, underline, face), "points", "strings", "pictures" (file, p, flag),
//   "colors" ([r, g, b, a]), "children"}.
#include <string>

#include "skin/file/SkinFile.h"

std::string dump_skin(const SkinFile& skin);
